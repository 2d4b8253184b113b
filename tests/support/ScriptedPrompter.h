#pragma once

#include "util/Prompter.h"

#include <deque>

namespace plavex::test {

// Answers the questions in the order given, then yes; keeps every text.
class ScriptedPrompter : public util::RecordingPrompter {
public:
    bool confirm(const QString &question) override
    {
        if (answers.empty())
            return RecordingPrompter::confirm(question);
        questions.append(question);
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<bool> answers;
};

} // namespace plavex::test
