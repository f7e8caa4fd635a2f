// The application object: runs the main dialog modally and ends with it.
#pragma once

class CCamouflageApp : public CWinApp {
  public:
    CCamouflageApp();
    virtual ~CCamouflageApp();

    // Runs the main dialog; always FALSE, so no message loop of our own follows.
    virtual BOOL InitInstance();

    DECLARE_MESSAGE_MAP()
};
