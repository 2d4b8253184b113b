#pragma once

#include <QString>
#include <QStringList>

#include <stdexcept>

namespace plavex::util {

// What the core asks of whoever runs it: the windows answer with message
// boxes and the progress window, the command line with standard error and
// percentages, tests with a recording.
class Prompter {
public:
    virtual ~Prompter() = default;

    virtual void message(const QString &text) = 0;
    virtual bool confirm(const QString &question) = 0;
    // A question whose "yes" is hard to undo: the windows make "no" the default answer.
    virtual bool confirmDefaultNo(const QString &question) { return confirm(question); }

    // Long work: a caption, then steps of done out of total.
    virtual void progressStart(const QString &caption) { (void)caption; }
    virtual void progressStep(int done, int total) { (void)done; (void)total; }
    virtual void progressEnd() {}
    // Asked between the steps of work that may stop early (util::Cancelled).
    virtual bool cancelled() { return false; }
};

// Long work stopped by the user: what was done before stays.
class Cancelled : public std::runtime_error {
public:
    Cancelled() : std::runtime_error("Прекъснато от потребителя.") {}
};

// Says yes to every question and keeps the messages, for tests and scripts.
class RecordingPrompter : public Prompter {
public:
    explicit RecordingPrompter(bool answer = true) : answer_(answer) {}
    void message(const QString &text) override { messages.append(text); }
    bool confirm(const QString &question) override
    {
        questions.append(question);
        return answer_;
    }

    QStringList messages;
    QStringList questions;

private:
    bool answer_;
};

} // namespace plavex::util
