#include "document/load.h"
#include "document/save.h"
#include "ground/app_state.h"
#include "ground/edit_control.h"
#include "support/editor_fixture.h"
#include "resource.h"

#include <string>

class SaveRoundTripTest : public EditorFixture {};

// Load what was saved, save it again: the text, the encoding, the format and
// the bytes all come back unchanged.
TEST_F(SaveRoundTripTest, EveryEncodingAndFormatSurvivesLoadAndSave)
{
    std::string folder = MakeScratchFolder("save_roundtrip");
    const char* text = "first line\r\rthird, after an empty one\rlast";
    for (int unicode = 0; unicode <= 1; unicode++) {
        for (int format = DOS; format <= MAC; format++) {
            std::string path = folder + "round" + std::to_string(unicode) + std::to_string(format) + ".txt";
            SetEditText(text);
            lstrcpynW(App.FilePath, Wide(path).c_str(), PATH_CAPACITY);
            App.Encoding = unicode;
            App.LineFormat = format;
            ASSERT_EQ(SaveDocument(), 1);
            std::string saved = ReadBytes(path);

            SendMessageA(App.MainWindow, WM_COMMAND, IDM_NEW, 0);
            ASSERT_EQ(EditText(), "");
            ASSERT_EQ(OpenDocument(Wide(path).c_str()), 1) << path;
            EXPECT_EQ(EditText(), text) << path;
            EXPECT_EQ(App.Encoding, unicode) << path;
            EXPECT_EQ(App.LineFormat, format) << path;
            EXPECT_FALSE(IsEditModified());

            ASSERT_EQ(SaveDocument(), 1);
            EXPECT_EQ(ReadBytes(path), saved) << path;
        }
    }
    EXPECT_TRUE(RecordedPrompts().empty());
}
