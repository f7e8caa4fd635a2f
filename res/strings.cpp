// The string table.
#include "resources.h"

#include "resource.h"

namespace tenebrix_res {

const win32res::StringResource kStrings[] = {
    // "Tenebrix のﾊﾞｰｼﾞｮﾝ情報(&A)...": the system-menu entry of the About box.
    {IDS_ABOUTBOX, "Tenebrix \x82\xcc\xca\xde\xb0\xbc\xde\xae\xdd\x8f\xee\x95\xf1(&A)..."},
};

const int kStringCount = static_cast<int>(sizeof kStrings / sizeof kStrings[0]);

}  // namespace tenebrix_res
