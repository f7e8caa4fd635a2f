// The main dialog under the null window driver and a scripted camera, with the
// test as its user: the pictures it should show, test sprites and settings.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/stdafx.h"
#include "app/camouflage_dlg.h"
#include "platform/dshow/scripted/scripted_devices.h"
#include "platform/win32/resource_module.h"
#include "tests/app/expected_hud.h"
#include "tests/image/temp_dir.h"
#include "tests/support/scripted_user.h"

constexpr int kW = 320, kH = 240;

// A solid 320 x 240 camera frame, or one whose top `rows` rows have another colour.
std::vector<BYTE> SolidFrame(scripted_capture::Pixel colour);
std::vector<BYTE> SplitFrame(int rows, scripted_capture::Pixel top, scripted_capture::Pixel rest);
// A 320 x 240 picture in those colours, as the program should build it.
CDibImage SplitPicture(int rows, scripted_capture::Pixel top, scripted_capture::Pixel rest);

bool SamePixels(const CDibImage& a, const CDibImage& b);
// "(x, y)" of the first differing pixel, or "" when the pictures are equal.
std::string FirstDifference(const CDibImage& a, const CDibImage& b);

// Expects the picture control (and the rectangle the dialog keeps of it) to
// be w x h pixels and to show the top-left w x h of the shown picture, 1:1.
void ExpectControlShowsPicture(CCamouflageDlg& dlg, int w, int h);

// A copy of the main dialog's template that a test program may change (sizes,
// controls) before it runs the dialog, registered once over the program's own.
// Null when the program has no main template.
struct MainTemplateCopy {
    win32res::DialogTemplate dialog;
    std::vector<win32res::ControlTemplate> controls;
};
MainTemplateCopy* OverrideMainTemplate();

// One user action on the dialog, taken when its loop runs dry.
using Step = std::function<void(CCamouflageDlg& dlg)>;

class DialogTest : public ScriptedUserTest {
  public:
    void SetUp() override;
    void TearDown() override;

    // Test sprites, in plain colours, written to images/ of the run directory.
    void WriteSprites();
    void WriteConfig(const std::string& content);
    // A 320 x 240 camera showing `frame`.
    void AddCamera(const std::vector<BYTE>& frame);

    // Answers the device question with Yes, runs the dialog through `steps`,
    // then clicks "The End". Returns what DoModal returned.
    INT_PTR Run(std::vector<Step> steps);

    // Steps.
    static Step Tick();                                    // one timer period elapses
    static Step TickWith(const std::vector<BYTE>& frame);  // the camera shows frame, then a tick
    static Step Click(int id);                             // clicks a button
    // Runs `check`, then a tick (a step must queue something).
    static Step CheckThenTick(std::function<void(CCamouflageDlg&)> check);
    static Step CheckThenClick(int id, std::function<void(CCamouflageDlg&)> check);

    std::unique_ptr<TempDir> m_dir;
    HudSprites m_sprites;
};
