// The program's entry point, linked into the executable (target mfc_main).
//
// Stands in for the framework's WinMain: runs the one static application
// object. It sits apart from the mfc library so that programs with a main
// function of their own can link the framework.
#include <afxwin.h>

int main(int argc, char** argv) {
    return AfxWinMain(argc, argv);
}
