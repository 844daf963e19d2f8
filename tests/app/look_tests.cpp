// Zoom, and the colours painted under each look (dark, high contrast),
// followed live, with the user's colours kept in the INI throughout.
#include "ground/app_state.h"
#include "ground/painted_colours.h"
#include "options/options_sheet.h"
#include "program/commands.h"
#include "support/editor_fixture.h"
#include "text/zoom_steps.h"
#include "views/edit_window.h"
#include "views/gutter.h"
#include "resource.h"

#include <commctrl.h>
#include <richedit.h>
#include <string>

static int ControlZoom()
{
    WPARAM numerator = 0;
    LPARAM denominator = 0;
    SendMessageW(App.EditControl, EM_GETZOOM, (WPARAM)&numerator, (LPARAM)&denominator);
    return denominator ? (int)(numerator * 100 / denominator) : 100;
}

static std::wstring Percent(int value) { return std::to_wstring(value) + L"%"; }

class ZoomTest : public EditorFixture {
protected:
    std::string IniContents() override { return "[View]\r\nLineNumbers=1\r\n"; }
    void ExpectZoom(int percent, const char* what)
    {
        EXPECT_EQ(App.ZoomPercent, percent) << what;
        EXPECT_EQ(ControlZoom(), percent) << what;
        EXPECT_EQ(StatusText(STATUS_ZOOM), Percent(percent)) << what;
    }
};

TEST_F(ZoomTest, EitherPlusMinusAndZeroKeyStepsTheZoom)
{
    SetEditText("one\rtwo\rthree");
    SendMessageW(App.EditControl, EM_SETSEL, 5, 5);
    Pump();
    std::wstring caret = StatusText(STATUS_CARET);
    LOGFONTW font = Config.EditorLogFont;
    ExpectZoom(100, "at start");
    struct {
        UINT Key;
        bool Shift;
        int Expected;
        const char* What;
    } presses[] = {
        {VK_OEM_PLUS, false, 110, "Ctrl+="}, {VK_OEM_PLUS, true, 120, "Ctrl+Shift+= (plus)"},
        {VK_ADD, false, 130, "Ctrl+keypad plus"}, {VK_OEM_MINUS, false, 120, "Ctrl+minus"},
        {VK_SUBTRACT, false, 110, "Ctrl+keypad minus"}, {'0', false, 100, "Ctrl+0"},
        {VK_SUBTRACT, false, 90, "Ctrl+keypad minus below 100"}, {VK_NUMPAD0, false, 100, "Ctrl+keypad 0"},
    };
    for (const auto& press : presses) {
        PressKey(press.Key, true, press.Shift);
        ExpectZoom(press.Expected, press.What);
    }
    // The keys typed nothing; the caret's figures and the font the printing
    // and the Options read are the zoom's no business.
    EXPECT_EQ(EditText(), "one\rtwo\rthree");
    EXPECT_EQ(StatusText(STATUS_CARET), caret);
    EXPECT_EQ(memcmp(&font, &Config.EditorLogFont, sizeof(font)), 0);
}

TEST_F(ZoomTest, CtrlWheelStepsByNotchesAndAPlainWheelScrolls)
{
    std::string lines;
    for (int i = 0; i < 200; i++)
        lines += "line\r";
    SetEditText(lines.c_str());
    SendMessageW(App.EditControl, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA), 0);
    ExpectZoom(110, "one notch up");
    SendMessageW(App.EditControl, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA / 2), 0);
    ExpectZoom(110, "half a notch");
    SendMessageW(App.EditControl, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA / 2), 0);
    ExpectZoom(120, "the other half");
    SendMessageW(App.EditControl, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, (WORD)(-3 * WHEEL_DELTA)), 0);
    ExpectZoom(90, "three notches down");
    SendMessageW(App.EditControl, WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(-3 * WHEEL_DELTA)), 0);
    Pump();
    ExpectZoom(90, "a wheel without Ctrl");
    EXPECT_GT(SendMessageW(App.EditControl, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    for (int i = 0; i < 60; i++)
        RunCommand(IDM_ZOOM_IN);
    ExpectZoom(ZOOM_MAX, "the menu's zoom in, to the top");
    for (int i = 0; i < 60; i++)
        RunCommand(IDM_ZOOM_OUT);
    ExpectZoom(ZOOM_MIN, "the menu's zoom out, to the bottom");
    RunCommand(IDM_ZOOM_RESET);
    ExpectZoom(100, "the menu's default");
}

TEST_F(ZoomTest, GutterWidthFollowsTheZoomBothWaysAndTheZoomIsNotKept)
{
    Pump();
    int base = App.GutterWidth;
    ASSERT_GT(base, 10);
    for (int i = 0; i < 10; i++)
        RunCommand(IDM_ZOOM_IN);
    Pump();
    // The sevens are twice as wide at 200%; the 10 pixels of air stay.
    EXPECT_NEAR(App.GutterWidth - 10, 2 * (base - 10), 3) << base;
    RunCommand(IDM_ZOOM_RESET);
    Pump();
    EXPECT_EQ(App.GutterWidth, base);
    // The zoom lasts for the window's life: the next start is at 100% again.
    RunCommand(IDM_ZOOM_IN);
    ASSERT_TRUE(CloseMainWindow());
    StopEditor();
    StartEditor("");
    EXPECT_EQ(App.ZoomPercent, 100);
    EXPECT_EQ(ControlZoom(), 100);
}

// A large text is loaded into a fresh control, which must not fall back to 100%.
TEST_F(ZoomTest, AFreshControlKeepsTheZoom)
{
    for (int i = 0; i < 5; i++)
        RunCommand(IDM_ZOOM_IN);
    HWND old = App.EditControl;
    ASSERT_TRUE(PutFreshEditControl());
    ASSERT_NE(App.EditControl, old);
    ExpectZoom(150, "fresh control");
}

// The system's look as a test sets it, through the program's one seam.
static SystemLook FakeLook;
static SystemLook ReadFakeLook() { return FakeLook; }

static SystemLook HighContrastLook()
{
    SystemLook look = ReadWindowsLook();
    look.AppsDark = 0;
    look.HighContrast = 1;
    look.Window = RGB(0, 0, 0);
    look.WindowText = RGB(255, 255, 0);
    look.ButtonFace = RGB(0, 0, 64);
    look.ButtonText = RGB(0, 255, 0);
    look.HotLight = RGB(0, 255, 255);
    return look;
}

class LookTest : public EditorFixture {
protected:
    std::string IniContents() override { return "[View]\r\nLineNumbers=1\r\n"; }
    void SetUp() override
    {
        FakeLook = ReadWindowsLook();
        FakeLook.AppsDark = 0;
        FakeLook.HighContrast = 0;
        SystemLookReader = ReadFakeLook;
        EditorFixture::SetUp();
    }
    void TearDown() override
    {
        EditorFixture::TearDown();
        SystemLookReader = ReadWindowsLook;
    }
    // Windows says the look changed, as it does when the setting is switched.
    void Switch(const SystemLook& look, UINT message, WPARAM wParam, const wchar_t* area)
    {
        FakeLook = look;
        SendMessageW(App.MainWindow, message, wParam, (LPARAM)area);
        Pump();
    }
    COLORREF EditorBack()
    {
        // The control answers a new background with its old one.
        COLORREF back = (COLORREF)SendMessageW(App.EditControl, EM_SETBKGNDCOLOR, 0, RGB(1, 2, 3));
        SendMessageW(App.EditControl, EM_SETBKGNDCOLOR, 0, back);
        return back;
    }
    COLORREF EditorText()
    {
        CHARFORMATW format;
        memset(&format, 0, sizeof(format));
        format.cbSize = sizeof(format);
        SendMessageW(App.EditControl, EM_GETCHARFORMAT, SCF_DEFAULT, (LPARAM)&format);
        return format.crTextColor;
    }
    // A pixel of the window as drawn on the screen, after every repaint.
    COLORREF PixelOf(HWND window, int fromLeft, int fromBottom)
    {
        RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        Pump();
        RECT client;
        GetClientRect(window, &client);
        HDC context = GetDC(window);
        COLORREF pixel = GetPixel(context, fromLeft, client.bottom - fromBottom);
        ReleaseDC(window, context);
        return pixel;
    }
    void ExpectPainted(COLORREF text, COLORREF back, COLORREF gutter, const char* what)
    {
        EXPECT_EQ(EditorText(), text) << what;
        EXPECT_EQ(EditorBack(), back) << what;
        EXPECT_EQ(PixelOf(App.EditControl, 2, 3), gutter) << what;
    }
};

TEST_F(LookTest, DarkAndHighContrastFollowLiveAndTheLightColoursComeBack)
{
    SetEditText("Painted in the look's colours\rline two\rline three");
    SystemLook light = FakeLook;
    ExpectPainted(RGB(0, 0, 0), light.Window, light.InactiveBorder, "light");
    COLORREF lightStatus = PixelOf(App.StatusBar, 3, 3);

    SystemLook dark = light;
    dark.AppsDark = 1;
    // Another area's change is no change of the look.
    Switch(dark, WM_SETTINGCHANGE, 0, L"Environment");
    ExpectPainted(RGB(0, 0, 0), light.Window, light.InactiveBorder, "an unrelated setting");
    Switch(dark, WM_SETTINGCHANGE, 0, L"ImmersiveColorSet");
    ExpectPainted(DARK_TEXT, DARK_BACK, DARK_GUTTER_BACK, "dark");
    EXPECT_EQ(PixelOf(App.StatusBar, 3, 3), (COLORREF)DARK_STATUS_BACK);
    EXPECT_EQ(StatusText(STATUS_TABSIZE), L"Tab: 8"); // painted by the program, the texts stay

    SystemLook contrast = HighContrastLook();
    contrast.AppsDark = 1;
    Switch(contrast, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, NULL);
    ExpectPainted(contrast.WindowText, contrast.Window, contrast.ButtonFace, "high contrast over dark");

    Switch(dark, WM_SYSCOLORCHANGE, 0, NULL);
    ExpectPainted(DARK_TEXT, DARK_BACK, DARK_GUTTER_BACK, "dark again");
    Switch(light, WM_SETTINGCHANGE, 0, L"ImmersiveColorSet");
    ExpectPainted(RGB(0, 0, 0), light.Window, light.InactiveBorder, "light again");
    EXPECT_EQ(PixelOf(App.StatusBar, 3, 3), lightStatus);
}

class ChosenColoursLookTest : public LookTest {
protected:
    std::string IniContents() override
    {
        return "[View]\r\nLineNumbers=1\r\n[Config]\r\nBackColor=13434879\r\nFontColor=255\r\n";
    }
};

TEST_F(ChosenColoursLookTest, OwnColoursWinOverDarkYieldToHighContrastAndStayInTheIni)
{
    const COLORREF back = 13434879, text = 255;
    SystemLook light = FakeLook;
    ExpectPainted(text, back, light.InactiveBorder, "light");
    SystemLook dark = light;
    dark.AppsDark = 1;
    Switch(dark, WM_SETTINGCHANGE, 0, L"ImmersiveColorSet");
    ExpectPainted(text, back, DARK_GUTTER_BACK, "dark");
    SystemLook contrast = HighContrastLook();
    Switch(contrast, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, NULL);
    ExpectPainted(contrast.WindowText, contrast.Window, contrast.ButtonFace, "high contrast");
    // Saved under high contrast: the user's colours, not the painted ones.
    SaveOptions();
    std::string ini = ReadIni();
    EXPECT_NE(ini.find("BackColor=13434879"), std::string::npos) << ini;
    EXPECT_NE(ini.find("FontColor=255"), std::string::npos) << ini;
    Switch(light, WM_SYSCOLORCHANGE, 0, NULL);
    ExpectPainted(text, back, light.InactiveBorder, "light again");
    ASSERT_TRUE(CloseMainWindow());
    ini = ReadIni();
    EXPECT_NE(ini.find("BackColor=13434879"), std::string::npos) << ini;
    EXPECT_NE(ini.find("FontColor=255"), std::string::npos) << ini;
}

TEST_F(LookTest, StartedUnderHighContrastTheDefaultsSavedAreTheLightOnes)
{
    StopEditor();
    FakeLook = HighContrastLook();
    StartEditor("");
    ExpectPainted(FakeLook.WindowText, FakeLook.Window, FakeLook.ButtonFace, "high contrast from the start");
    SaveOptions();
    std::string ini = ReadIni();
    EXPECT_NE(ini.find("BackColor=16777215"), std::string::npos) << ini;
    EXPECT_NE(ini.find("FontColor=0"), std::string::npos) << ini;
    FakeLook.HighContrast = 0;
    FakeLook.Window = RGB(255, 255, 255);
    Switch(FakeLook, WM_SYSCOLORCHANGE, 0, NULL);
    EXPECT_EQ(EditorBack(), RGB(255, 255, 255));
    EXPECT_EQ(EditorText(), RGB(0, 0, 0));
}
