// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <memory>

namespace tessella {

// The real dialogs: QMessageBox, QFileDialog, QColorDialog and QApplication::beep.
class QtDialogs : public Dialogs
{
public:
    explicit QtDialogs(QWidget *parent = nullptr);

    void setParent(QWidget *parent) { parent_ = parent; }

    void message(const std::string &text) override;
    Answer askYesNo(const std::string &firstLine, const std::string &secondLine) override;
    Answer askYesNoCancel(const std::string &firstLine, const std::string &secondLine) override;
    std::optional<std::string> openFile(const FileDialogOptions &options) override;
    std::optional<std::string> saveFile(const FileDialogOptions &options) override;
    std::optional<int32_t> chooseColor(int32_t initial) override;
    void beep() override;

    // The dialogs as they are shown, for the tests of their settings.
    static std::unique_ptr<QMessageBox> makeMessageBox(QWidget *parent, const std::string &text);
    static std::unique_ptr<QMessageBox> makeQuestionBox(QWidget *parent,
                                                        const std::string &firstLine,
                                                        const std::string &secondLine,
                                                        bool withCancel);
    static std::unique_ptr<QFileDialog> makeFileDialog(QWidget *parent,
                                                       const FileDialogOptions &options, bool save);

private:
    std::optional<std::string> runFileDialog(const FileDialogOptions &options, bool save);

    QPointer<QWidget> parent_;
};

// "Files (*.mvl)|*.mvl|All (*.*)|*.*" -> {"Files (*.mvl)", "All (*)"}: one Qt name filter per
// description/pattern pair. The pattern decides what is matched; several patterns may be
// separated by ';'. "*.*" means every file.
QStringList qtNameFilters(const std::string &filter);

} // namespace tessella
