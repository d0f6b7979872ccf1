// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/dialogs.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace tessella {

// The dialogs of tests: each dialog the code under test shows must have been queued with
// its answer, in order. Everything shown is recorded in `log`. A dialog nobody queued, or
// of another kind than the next queued one, is reported through `onFailure` and answered
// as if the user had cancelled it.
class ScriptedDialogs : public Dialogs
{
public:
    enum class Kind { Message, YesNo, YesNoCancel, OpenFile, SaveFile, Color };

    // One dialog that was shown.
    struct Shown
    {
        Kind kind = Kind::Message;
        std::string text;       // message text, or the question's first line
        std::string secondLine; // the question's second line
        FileDialogOptions options;
        int32_t initialColor = 0;
    };

    ScriptedDialogs();

    // Queue the next dialog and its answer. A message may name the text it expects.
    void expectMessage(std::optional<std::string> text = std::nullopt);
    void expectQuestion(Answer answer); // a Yes/No or a Yes/No/Cancel box
    void expectYesNo(Answer answer);
    void expectYesNoCancel(Answer answer);
    void expectOpenFile(std::optional<std::string> path);
    void expectSaveFile(std::optional<std::string> path);
    void expectColor(std::optional<int32_t> colour);

    bool allConsumed() const { return queue_.empty(); }
    std::size_t pending() const { return queue_.size(); }

    // Texts of the message boxes shown so far, in order.
    std::vector<std::string> messages() const;
    // Text of the last message box, empty when none was shown.
    std::string lastMessage() const;

    void message(const std::string &text) override;
    Answer askYesNo(const std::string &firstLine, const std::string &secondLine) override;
    Answer askYesNoCancel(const std::string &firstLine, const std::string &secondLine) override;
    std::optional<std::string> openFile(const FileDialogOptions &options) override;
    std::optional<std::string> saveFile(const FileDialogOptions &options) override;
    std::optional<int32_t> chooseColor(int32_t initial) override;
    void beep() override { ++beeps; }

    std::vector<Shown> log;
    int beeps = 0;
    // Called with a description of an unexpected dialog; throws std::logic_error by default.
    std::function<void(const std::string &)> onFailure;

private:
    enum class Expect { Message, Question, YesNo, YesNoCancel, OpenFile, SaveFile, Color };
    struct Expected
    {
        Expect kind;
        std::optional<std::string> text;
        Answer answer = Answer::Cancel;
        std::optional<std::string> path;
        std::optional<int32_t> colour;
    };

    // Takes the next queued entry when it fits `kind`; otherwise reports and returns nothing.
    std::optional<Expected> take(Kind kind, const std::string &what);
    static bool fits(Expect expect, Kind kind);
    static const char *expectName(Expect expect);
    void fail(const std::string &what);

    std::deque<Expected> queue_;
};

const char *kindName(ScriptedDialogs::Kind kind);

} // namespace tessella
