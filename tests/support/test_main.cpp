// Test programs start here: every prompt goes to the recorder, never to a
// real box that would wait for a user.
#include "support/editor_fixture.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    InstallRecordingPrompts();
    return RUN_ALL_TESTS();
}
