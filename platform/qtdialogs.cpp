// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qtdialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace tessella {

namespace {

QString fromUtf8(const std::string &text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

Answer askQuestion(QWidget *parent, const std::string &firstLine, const std::string &secondLine,
                   bool withCancel)
{
    QMessageBox box(parent);
    box.setIcon(QMessageBox::Question);
    box.setWindowTitle(QApplication::applicationDisplayName());
    // File names and header bytes end up in messages: never let them be read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(fromUtf8(firstLine) + QLatin1Char('\n') + fromUtf8(secondLine));
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel) {
        buttons |= QMessageBox::Cancel;
    }
    box.setStandardButtons(buttons);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(withCancel ? QMessageBox::Cancel : QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return withCancel ? Answer::Cancel : Answer::No;
    }
}

} // namespace

QStringList qtNameFilters(const std::string &filter)
{
    const QStringList parts = fromUtf8(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QString pattern = i + 1 < parts.size() ? parts[i + 1].trimmed() : QString();
        if (pattern.isEmpty()) {
            pattern = QStringLiteral("*");
        }
        QStringList patterns;
        for (const QString &one : pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString p = one.trimmed();
            patterns << (p == QLatin1String("*.*") ? QStringLiteral("*") : p);
        }
        // Qt reads the patterns from the last parentheses, so the description keeps its
        // own text and the real patterns follow it.
        const QString shown = description.isEmpty() ? patterns.join(QLatin1Char(' ')) : description;
        filters << shown + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')');
    }
    return filters;
}

QtDialogs::QtDialogs(QWidget *parent) : parent_(parent) {}

void QtDialogs::message(const std::string &text)
{
    QMessageBox box(parent_);
    box.setIcon(QMessageBox::NoIcon);
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setTextFormat(Qt::PlainText);
    box.setText(fromUtf8(text));
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

Answer QtDialogs::askYesNo(const std::string &firstLine, const std::string &secondLine)
{
    return askQuestion(parent_, firstLine, secondLine, false);
}

Answer QtDialogs::askYesNoCancel(const std::string &firstLine, const std::string &secondLine)
{
    return askQuestion(parent_, firstLine, secondLine, true);
}

std::optional<std::string> QtDialogs::openFile(const FileDialogOptions &options)
{
    return runFileDialog(options, false);
}

std::optional<std::string> QtDialogs::saveFile(const FileDialogOptions &options)
{
    return runFileDialog(options, true);
}

std::optional<std::string> QtDialogs::runFileDialog(const FileDialogOptions &options, bool save)
{
    QFileDialog dialog(parent_, fromUtf8(options.title));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // For a save "must exist" concerns the folder, which the dialog guarantees anyway.
    dialog.setFileMode(!save && options.mustExist ? QFileDialog::ExistingFile
                                                  : QFileDialog::AnyFile);
    if (!options.confirmOverwrite) {
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    }
    const QStringList filters = qtNameFilters(options.filter);
    if (!options.filter.empty()) {
        dialog.setNameFilters(filters);
    }
    // The dialog itself appends the suffix, so the overwrite question names the real file.
    if (!options.defaultExtension.empty()) {
        dialog.setDefaultSuffix(fromUtf8(options.defaultExtension));
    }
    if (!options.initialFile.empty()) {
        dialog.selectFile(fromUtf8(options.initialFile));
    }
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty()) {
        return std::nullopt;
    }
    return chosen.first().toStdString();
}

std::optional<int32_t> QtDialogs::chooseColor(int32_t initial)
{
    const QColor start(initial & 0xff, (initial >> 8) & 0xff, (initial >> 16) & 0xff);
    const QColor chosen = QColorDialog::getColor(start, parent_);
    if (!chosen.isValid()) {
        return std::nullopt;
    }
    return int32_t(chosen.red() + 256 * chosen.green() + 65536 * chosen.blue());
}

void QtDialogs::beep()
{
    QApplication::beep();
}

} // namespace tessella
