// The progress window.
#include "app/ProgressWindow.h"
#include "tests/support/GuiTest.h"


#include <gtest/gtest.h>

using namespace plavex;

namespace {
using test::application;
} // namespace

TEST(Progress, StepsByItsStepOrByTheShareDone)
{
    application();
    app::ProgressWindow byShare(QStringLiteral("Приключване"), 0);
    byShare.stepProgress(3, 2);
    EXPECT_EQ(byShare.position(), 67);
    app::ProgressWindow byStep(QStringLiteral("Приключване"), 30);
    for (int i = 0; i < 4; ++i)
        byStep.stepProgress(10, i);
    EXPECT_EQ(byStep.position(), 100); // never past the end
}
