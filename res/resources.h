// Tenebrix's resources: dialog templates, string table and icon, as the window
// layer finds them by id (see platform/win32/resource_module.h), and the
// module that holds them.
//
// These tables are the one source of truth: the program reads them through
// the window layer, and res/write_rc prints a Windows resource script from
// them. Every text is stored as code page 932 bytes, with its UTF-8 text in a
// comment beside it.
#pragma once

#include "platform/win32/resource_module.h"

namespace tenebrix_res {

extern const win32res::DialogTemplate kDialogs[];
extern const int kDialogCount;
extern const win32res::StringResource kStrings[];
extern const int kStringCount;
extern const win32res::IconResource kIcons[];
extern const int kIconCount;

// All of the above, registered with the window layer before main runs.
extern const win32res::ResourceModule kModule;

}  // namespace tenebrix_res
