#include "tests/support/GuiTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace plavex::test {

namespace {

struct Pending {
    QTimer *timer;
    std::string type;
};

std::vector<Pending> &pending()
{
    static std::vector<Pending> list;
    return list;
}

// Checks, as each test ends and before its result is printed, that every
// dialog it waited for did open.
class ModalCheck : public ::testing::EmptyTestEventListener {
public:
    void OnTestEnd(const ::testing::TestInfo &) override
    {
        for (const Pending &p : pending()) {
            ADD_FAILURE() << "the expected dialog " << p.type << " never opened";
            p.timer->stop();
            p.timer->deleteLater();
        }
        pending().clear();
    }
};

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
    static auto *const registered = [] {
        // "End" events reach the listeners last to first: appended after the
        // printer, the check runs before the test's result is printed.
        ::testing::UnitTest::GetInstance()->listeners().Append(new ModalCheck);
        return static_cast<ApplicationEnvironment *>(::testing::AddGlobalTestEnvironment(new ApplicationEnvironment));
    }();
    return registered;
}

} // namespace

QApplication &application() { return environment()->app(); }

namespace detail {

void expectModal(QTimer *timer, const char *type) { pending().push_back({timer, type}); }

void modalOpened(QTimer *timer)
{
    auto &list = pending();
    list.erase(std::remove_if(list.begin(), list.end(), [timer](const Pending &p) { return p.timer == timer; }), list.end());
}

} // namespace detail

} // namespace plavex::test
