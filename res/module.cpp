// Registers Tenebrix's resources with the window layer before main runs, as
// Windows maps an executable's resource section when it loads the program.
// The res target links this file whole into the program, so that the
// registration is never dropped by the linker.
#include "resources.h"

namespace tenebrix_res {

const win32res::ResourceModule kModule = {kDialogs,     kDialogCount, kStrings,
                                          kStringCount, kIcons,       kIconCount};

namespace {

const bool kRegistered = win32res::RegisterResourceModule(&kModule);

}  // namespace

}  // namespace tenebrix_res
