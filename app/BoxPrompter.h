#pragma once

#include "util/Prompter.h"

#include <memory>

class QWidget;

namespace plavex::app {

class ProgressWindow;

// The windows' answer to the core's questions: message boxes and the
// progress window.
class BoxPrompter : public util::Prompter {
public:
    explicit BoxPrompter(QWidget *parent = nullptr);
    ~BoxPrompter() override;

    void setParent(QWidget *parent) { parent_ = parent; }
    void message(const QString &text) override;
    bool confirm(const QString &question) override;
    bool confirmDefaultNo(const QString &question) override;
    void progressStart(const QString &caption) override;
    void progressStep(int done, int total) override;
    void progressEnd() override;

private:
    QWidget *parent_;
    std::unique_ptr<ProgressWindow> progress_;
};

} // namespace plavex::app
