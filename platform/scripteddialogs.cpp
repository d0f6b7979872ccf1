// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/scripteddialogs.h"

#include <stdexcept>

namespace tessella {

const char *kindName(ScriptedDialogs::Kind kind)
{
    switch (kind) {
    case ScriptedDialogs::Kind::Message:
        return "message";
    case ScriptedDialogs::Kind::YesNo:
        return "yes/no question";
    case ScriptedDialogs::Kind::YesNoCancel:
        return "yes/no/cancel question";
    case ScriptedDialogs::Kind::OpenFile:
        return "open dialog";
    case ScriptedDialogs::Kind::SaveFile:
        return "save dialog";
    case ScriptedDialogs::Kind::Color:
        return "colour dialog";
    }
    return "dialog";
}

bool ScriptedDialogs::fits(Expect expect, Kind kind)
{
    switch (expect) {
    case Expect::Message:
        return kind == Kind::Message;
    case Expect::Question:
        return kind == Kind::YesNo || kind == Kind::YesNoCancel;
    case Expect::YesNo:
        return kind == Kind::YesNo;
    case Expect::YesNoCancel:
        return kind == Kind::YesNoCancel;
    case Expect::OpenFile:
        return kind == Kind::OpenFile;
    case Expect::SaveFile:
        return kind == Kind::SaveFile;
    case Expect::Color:
        return kind == Kind::Color;
    }
    return false;
}

const char *ScriptedDialogs::expectName(Expect expect)
{
    switch (expect) {
    case Expect::Message:
        return "message";
    case Expect::Question:
        return "question";
    case Expect::YesNo:
        return kindName(Kind::YesNo);
    case Expect::YesNoCancel:
        return kindName(Kind::YesNoCancel);
    case Expect::OpenFile:
        return kindName(Kind::OpenFile);
    case Expect::SaveFile:
        return kindName(Kind::SaveFile);
    case Expect::Color:
        return kindName(Kind::Color);
    }
    return "dialog";
}

ScriptedDialogs::ScriptedDialogs()
    : onFailure([](const std::string &what) { throw std::logic_error(what); })
{}

void ScriptedDialogs::expectMessage(std::optional<std::string> text)
{
    queue_.push_back({Expect::Message, std::move(text), Answer::Cancel, {}, {}});
}

void ScriptedDialogs::expectQuestion(Answer answer)
{
    queue_.push_back({Expect::Question, {}, answer, {}, {}});
}

void ScriptedDialogs::expectYesNo(Answer answer)
{
    queue_.push_back({Expect::YesNo, {}, answer, {}, {}});
}

void ScriptedDialogs::expectYesNoCancel(Answer answer)
{
    queue_.push_back({Expect::YesNoCancel, {}, answer, {}, {}});
}

void ScriptedDialogs::expectOpenFile(std::optional<std::string> path)
{
    queue_.push_back({Expect::OpenFile, {}, Answer::Cancel, std::move(path), {}});
}

void ScriptedDialogs::expectSaveFile(std::optional<std::string> path)
{
    queue_.push_back({Expect::SaveFile, {}, Answer::Cancel, std::move(path), {}});
}

void ScriptedDialogs::expectColor(std::optional<int32_t> colour)
{
    queue_.push_back({Expect::Color, {}, Answer::Cancel, {}, colour});
}

std::vector<std::string> ScriptedDialogs::messages() const
{
    std::vector<std::string> texts;
    for (const Shown &shown : log) {
        if (shown.kind == Kind::Message) {
            texts.push_back(shown.text);
        }
    }
    return texts;
}

std::string ScriptedDialogs::lastMessage() const
{
    for (auto it = log.rbegin(); it != log.rend(); ++it) {
        if (it->kind == Kind::Message) {
            return it->text;
        }
    }
    return {};
}

void ScriptedDialogs::fail(const std::string &what)
{
    if (onFailure) {
        onFailure(what);
    }
}

std::optional<ScriptedDialogs::Expected> ScriptedDialogs::take(Kind kind, const std::string &what)
{
    const std::string shown = std::string(kindName(kind)) + " \"" + what + "\"";
    if (queue_.empty()) {
        fail("unexpected " + shown);
        return std::nullopt;
    }
    Expected next = queue_.front();
    if (!fits(next.kind, kind)) {
        // Leave the queue as it is: the dialog the test waits for may still come.
        fail("expected a " + std::string(expectName(next.kind)) + " but got a " + shown);
        return std::nullopt;
    }
    queue_.pop_front();
    if (next.text && *next.text != what) {
        fail("expected the message \"" + *next.text + "\" but got \"" + what + "\"");
    }
    return next;
}

void ScriptedDialogs::message(const std::string &text)
{
    log.push_back({Kind::Message, text, {}, {}, 0});
    take(Kind::Message, text);
}

Answer ScriptedDialogs::askYesNo(const std::string &firstLine, const std::string &secondLine)
{
    log.push_back({Kind::YesNo, firstLine, secondLine, {}, 0});
    const auto next = take(Kind::YesNo, firstLine + "\n" + secondLine);
    if (!next) {
        return Answer::No;
    }
    if (next->answer == Answer::Cancel) {
        fail("a yes/no question cannot be answered with Cancel");
        return Answer::No;
    }
    return next->answer;
}

Answer ScriptedDialogs::askYesNoCancel(const std::string &firstLine, const std::string &secondLine)
{
    log.push_back({Kind::YesNoCancel, firstLine, secondLine, {}, 0});
    const auto next = take(Kind::YesNoCancel, firstLine + "\n" + secondLine);
    return next ? next->answer : Answer::Cancel;
}

std::optional<std::string> ScriptedDialogs::openFile(const FileDialogOptions &options)
{
    log.push_back({Kind::OpenFile, options.title, {}, options, 0});
    const auto next = take(Kind::OpenFile, options.title);
    return next ? next->path : std::nullopt;
}

std::optional<std::string> ScriptedDialogs::saveFile(const FileDialogOptions &options)
{
    log.push_back({Kind::SaveFile, options.title, {}, options, 0});
    const auto next = take(Kind::SaveFile, options.title);
    return next ? next->path : std::nullopt;
}

std::optional<int32_t> ScriptedDialogs::chooseColor(int32_t initial)
{
    log.push_back({Kind::Color, {}, {}, {}, initial});
    const auto next = take(Kind::Color, "");
    return next ? next->colour : std::nullopt;
}

} // namespace tessella
