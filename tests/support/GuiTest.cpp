#include "tests/support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>

namespace plavex::test {

namespace {

class ApplicationEnvironment : public ::testing::Environment {
public:
    QApplication &app()
    {
        if (!app_) {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            app_ = std::make_unique<QApplication>(argc_, argv_);
        }
        return *app_;
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[10] = "plavex-ui";
    char *argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

ApplicationEnvironment *environment()
{
    static auto *const registered =
        static_cast<ApplicationEnvironment *>(::testing::AddGlobalTestEnvironment(new ApplicationEnvironment));
    return registered;
}

} // namespace

QApplication &application() { return environment()->app(); }

} // namespace plavex::test
