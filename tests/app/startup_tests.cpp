#include "support/editor_fixture.h"

#include "app/app_state.h"
#include "app/startup.h"

TEST(CommandLine, QuotedPathWithBlanksBecomesOneName)
{
    char name[MAX_PATH];
    EXPECT_EQ(TrimCommandLine("\"C:\\My Files\\notes.txt\"", name, sizeof(name)), 21u);
    EXPECT_STREQ(name, "C:\\My Files\\notes.txt");
    TrimCommandLine("C:\\My Files\\notes.txt", name, sizeof(name));
    EXPECT_STREQ(name, "C:\\My Files\\notes.txt");
}
