#include "ground/app_state.h"
#include "program/commands.h"
#include "support/editor_fixture.h"
#include "views/menu_state.h"
#include "resource.h"

#include <commctrl.h>

class MenuStateTest : public EditorFixture {
protected:
    bool Greyed(UINT id)
    {
        return (GetMenuState(GetMenu(App.MainWindow), id, MF_BYCOMMAND) & MF_GRAYED) != 0;
    }
    bool Checked(UINT id)
    {
        return (GetMenuState(GetMenu(App.MainWindow), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
    }
    bool ButtonEnabled(UINT id) { return SendMessageA(App.ToolBar, TB_ISBUTTONENABLED, id, 0) != 0; }
    void OpenMenu(int index)
    {
        HMENU menu = GetMenu(App.MainWindow);
        SendMessageA(App.MainWindow, WM_INITMENUPOPUP, (WPARAM)GetSubMenu(menu, index), index);
    }
};

TEST_F(MenuStateTest, UntitledEmptyDocumentAtStartUp)
{
    OpenMenu(0);
    OpenMenu(1);
    EXPECT_TRUE(Greyed(IDM_RELOAD));
    EXPECT_TRUE(Greyed(IDM_PROPERTIES));
    EXPECT_TRUE(Greyed(IDM_EXECUTE));
    EXPECT_FALSE(ButtonEnabled(IDM_PROPERTIES));
    EXPECT_FALSE(ButtonEnabled(IDM_EXECUTE));
    EXPECT_TRUE(Greyed(IDM_SAVE));
    EXPECT_FALSE(ButtonEnabled(IDM_SAVE));
    EXPECT_TRUE(Greyed(IDM_COPY));
    EXPECT_TRUE(Greyed(IDM_CUT));
    EXPECT_TRUE(Greyed(IDM_DELETE));
    EXPECT_FALSE(ButtonEnabled(IDM_COPY));
    EXPECT_FALSE(ButtonEnabled(IDM_CUT));
    EXPECT_TRUE(Greyed(IDM_DELETELINE));
    // Buttons without rules stay enabled.
    EXPECT_TRUE(ButtonEnabled(IDM_NEW));
    EXPECT_TRUE(ButtonEnabled(IDM_FIND));
}

TEST_F(MenuStateTest, TypingEnablesSaveAndUndoAndMarksTheTitle)
{
    TypeText("x");
    EXPECT_FALSE(Greyed(IDM_SAVE));
    EXPECT_TRUE(ButtonEnabled(IDM_SAVE));
    EXPECT_FALSE(Greyed(IDM_UNDO));
    EXPECT_TRUE(ButtonEnabled(IDM_UNDO));
    EXPECT_EQ(WindowTitle(), "[Untitled]* - scrivlet");
    EXPECT_FALSE(Greyed(IDM_DELETELINE));
}

TEST_F(MenuStateTest, SelectionEnablesCopyCutDeleteAndGreysDeleteLine)
{
    TypeText("abc");
    SendMessageA(App.EditControl, EM_SETSEL, 0, 2);
    Pump();
    EXPECT_FALSE(Greyed(IDM_COPY));
    EXPECT_FALSE(Greyed(IDM_CUT));
    EXPECT_FALSE(Greyed(IDM_DELETE));
    EXPECT_TRUE(ButtonEnabled(IDM_COPY));
    EXPECT_TRUE(Greyed(IDM_DELETELINE));
    SendMessageA(App.EditControl, EM_SETSEL, 1, 1);
    Pump();
    EXPECT_TRUE(Greyed(IDM_COPY));
    EXPECT_FALSE(ButtonEnabled(IDM_CUT));
    EXPECT_FALSE(Greyed(IDM_DELETELINE));
}

TEST_F(MenuStateTest, SaveKeyDoesNothingWithoutChanges)
{
    // Greyed Save swallows Ctrl+S: no Save As dialog for an unchanged document.
    PressKey('S', true);
    EXPECT_EQ(FileDialogCalls(), 0);
}

TEST_F(MenuStateTest, DeleteLineKeyDoesNothingWithASelection)
{
    TypeText("abc\ndef");
    SendMessageA(App.EditControl, EM_SETSEL, 0, 2);
    Pump();
    PressKey('Y', true);
    EXPECT_EQ(EditText(), "abc\rdef");
    // Without a selection the same key cuts the line.
    SendMessageA(App.EditControl, EM_SETSEL, 1, 1);
    Pump();
    PressKey('Y', true);
    EXPECT_EQ(EditText(), "def");
}

TEST_F(MenuStateTest, ViewChecksFollowTheToggles)
{
    RunCommand(IDM_STATUSBAR);
    RunCommand(IDM_LINENUMBERS);
    OpenMenu(2);
    EXPECT_TRUE(Checked(IDM_TOOLBAR));
    EXPECT_FALSE(Checked(IDM_STATUSBAR));
    EXPECT_TRUE(Checked(IDM_LINENUMBERS));
    EXPECT_FALSE(Checked(IDM_MARGIN));
    // Word wrap follows the Edit rules, so it is right without opening View.
    RunCommand(IDM_WORDWRAP);
    EXPECT_EQ(Checked(IDM_WORDWRAP), Config.WordWrap != 0);
}

TEST_F(MenuStateTest, FavoritesItemsNeedATitledDocument)
{
    OpenMenu(3);
    EXPECT_TRUE(Greyed(IDM_FAV_ADD));
    EXPECT_TRUE(Greyed(IDM_FAV_REMOVE));
    std::string folder = MakeScratchFolder("menu_state");
    WriteBytes(folder + "titled.txt", "t");
    App.HasFile = 1;
    lstrcpynW(App.FilePath, Wide(folder + "titled.txt").c_str(), PATH_CAPACITY);
    OpenMenu(3);
    EXPECT_FALSE(Greyed(IDM_FAV_ADD));
    EXPECT_TRUE(Greyed(IDM_FAV_REMOVE));
    RunCommand(IDM_FAV_ADD);
    OpenMenu(3);
    EXPECT_TRUE(Greyed(IDM_FAV_ADD));
    EXPECT_FALSE(Greyed(IDM_FAV_REMOVE));
}
