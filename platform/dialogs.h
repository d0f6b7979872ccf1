// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessella {

// The answer to a question box. A Yes/No question never answers Cancel.
enum class Answer { Yes, No, Cancel };

// Settings of an open or save dialog. `filter` is written as pairs of description and
// pattern separated by '|': "Files (*.mvl)|*.mvl" or "Bitmap (*.bmp)|*.bmp|JPEG (*.jpg)|*.jpg".
struct FileDialogOptions
{
    std::string title;
    std::string filter;
    std::string defaultExtension; // without the dot, e.g. "mvl"
    std::string initialFile;
    bool mustExist = false;
    bool confirmOverwrite = false;
};

// Every message box, question, file or colour dialog and beep of the application goes
// through this interface, so that tests can answer them. Texts are UTF-8 and always shown
// as plain text. Colours are packed: red + 256 * green + 65536 * blue.
class Dialogs
{
public:
    using Answer = tessella::Answer;
    using FileDialogOptions = tessella::FileDialogOptions;

    virtual ~Dialogs() = default;

    // A modal box with an OK button.
    virtual void message(const std::string &text) = 0;
    // Question boxes: the first line, a line break, the second line; question icon.
    virtual Answer askYesNo(const std::string &firstLine, const std::string &secondLine) = 0;
    virtual Answer askYesNoCancel(const std::string &firstLine, const std::string &secondLine) = 0;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<std::string> openFile(const FileDialogOptions &options) = 0;
    virtual std::optional<std::string> saveFile(const FileDialogOptions &options) = 0;
    // The chosen colour, or nothing when the user cancelled.
    virtual std::optional<int32_t> chooseColor(int32_t initial) = 0;
    // The short sound of a miss.
    virtual void beep() = 0;
};

// Bytes read from a file (8-bit text such as a document header) as UTF-8, one character
// per byte, so that they can be shown whatever they hold.
std::string latin1ToUtf8(std::string_view bytes);

} // namespace tessella
