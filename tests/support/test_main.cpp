// Test programs start here: every prompt goes to the recorder, never to a
// real box that would wait for a user.
#include "support/editor_fixture.h"

#include <stdlib.h>
#include <string.h>

int RunIniWriterChild(const char* iniPath, int copy);

int main(int argc, char** argv)
{
    // Started by a test that needs several processes writing one INI file.
    if (argc == 4 && strcmp(argv[1], "--ini-writer") == 0)
        return RunIniWriterChild(argv[2], atoi(argv[3]));
    ::testing::InitGoogleTest(&argc, argv);
    InstallRecordingPrompts();
    return RUN_ALL_TESTS();
}
