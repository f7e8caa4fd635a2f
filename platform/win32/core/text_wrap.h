// Breaking a text into lines of a given width, for message boxes.
//
// Stands in for DrawText with DT_WORDBREAK: lines end at "\n" ("\r\n" and a
// lone "\r" too) and where the next word would not fit. Words break after
// spaces (which the break drops) and between Japanese characters, but never
// before a closing mark such as "、" "。" "）" or after an opening one such as
// "（". A word wider than the line breaks between its characters, so no text
// is lost or drawn outside the box. Tabs count as spaces.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace win32core {

using MeasureText = std::function<int(const std::string& utf8)>;

// The lines of utf8 no wider than maxWidth as width measures them (a single
// character wider than that still gets a line of its own). At least one line,
// which is empty for an empty text.
std::vector<std::string> WrapText(const std::string& utf8, int maxWidth, const MeasureText& width);

// line shortened by whole characters until it fits maxWidth with "…" after it.
std::string EllipsizeLine(const std::string& line, int maxWidth, const MeasureText& width);

}  // namespace win32core
