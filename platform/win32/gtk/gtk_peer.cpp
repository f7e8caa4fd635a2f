// The labels of mnemonics in GTK terms (see gtk_peer.h).
//
// Stands in for the '&' of Windows labels, which GTK spells '_'.
#include "gtk_peer.h"

namespace win32core {

std::string MnemonicLabel(const std::string& utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '&' && i + 1 < utf8.size() && utf8[i + 1] == '&') {
            out += '&';
            ++i;
        } else if (utf8[i] == '&') {
            out += '_';
        } else if (utf8[i] == '_') {
            out += "__";
        } else {
            out += utf8[i];
        }
    }
    return out;
}

}  // namespace win32core
