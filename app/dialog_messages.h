// What the main dialog tells the user beyond the picture: the message-box
// texts, in the ANSI code page (932) like every text of the program, with the
// caption "ERROR" of the program's other boxes.
#pragma once

#include <string>

extern const char kMessageCaption[];

// "A snapshot could not be saved", the file's name (as printed from the
// format) and the reason for `error`, an errno value, on three lines.
std::string SnapshotNotSavedText(const std::string& name, int error);

// The camera stopped delivering pictures; the last one stays on the screen.
extern const char kCameraStoppedText[];
