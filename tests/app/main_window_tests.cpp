#include "support/editor_fixture.h"

#include "app/app_state.h"
#include "app/main_window.h"
#include "resource.h"

#include <commctrl.h>

TEST(StatusBarParts, EdgesFollowClientWidth)
{
    int edges[5];
    ComputeStatusEdges(500, edges);
    EXPECT_EQ(edges[0], 135);
    EXPECT_EQ(edges[1], 170);
    EXPECT_EQ(edges[2], 200);
    EXPECT_EQ(edges[3], 240);
    EXPECT_EQ(edges[4], 500);
}

class MainWindowTest : public EditorFixture {};

TEST_F(MainWindowTest, StartsVisibleWithInsertIndicator)
{
    EXPECT_TRUE(IsWindowVisible(App.MainWindow));
    EXPECT_EQ(StatusText(2), L"INS");
    char className[64];
    GetClassNameA(App.MainWindow, className, sizeof(className));
    EXPECT_STREQ(className, "scrivletClass");
}
