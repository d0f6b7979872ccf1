// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qtdialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>

namespace tessella {

namespace {

QString fromUtf8(const std::string &text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

Answer toAnswer(int button, bool withCancel)
{
    switch (button) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return withCancel ? Answer::Cancel : Answer::No;
    }
}

// "*.bmp;*.jpg" -> {"*.bmp", "*.jpg"}; "*.*" matches every file, also names without a dot.
QStringList splitPatterns(const QString &text)
{
    static const QRegularExpression separators(QStringLiteral("[ ;]+"));
    QStringList patterns = text.split(separators, Qt::SkipEmptyParts);
    for (QString &p : patterns) {
        if (p == QLatin1String("*.*")) {
            p = QStringLiteral("*");
        }
    }
    return patterns;
}

} // namespace

QStringList qtNameFilters(const std::string &filter)
{
    const QStringList parts = fromUtf8(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString pattern = i + 1 < parts.size() ? parts[i + 1].trimmed() : QString();
        if (description.isEmpty() && pattern.isEmpty()) {
            continue; // a trailing bar
        }
        QStringList patterns = splitPatterns(pattern);
        if (patterns.isEmpty()) {
            patterns << QStringLiteral("*");
        }
        // Qt takes the patterns from the last parentheses: keep a description that already
        // ends with exactly these patterns, otherwise append them.
        const QString joined = patterns.join(QLatin1Char(' '));
        const qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (open >= 0 && description.endsWith(QLatin1Char(')'))) {
            const QString inner = description.mid(open + 1, description.size() - open - 2);
            if (splitPatterns(inner) == patterns) {
                filters << description.left(open).trimmed() + QStringLiteral(" (") + joined +
                               QLatin1Char(')');
                continue;
            }
        }
        const QString shown = description.isEmpty() ? joined : description;
        filters << shown + QStringLiteral(" (") + joined + QLatin1Char(')');
    }
    return filters;
}

QtDialogs::QtDialogs(QWidget *parent) : parent_(parent) {}

std::unique_ptr<QMessageBox> QtDialogs::makeMessageBox(QWidget *parent, const std::string &text)
{
    auto box = std::make_unique<QMessageBox>(parent);
    box->setIcon(QMessageBox::NoIcon);
    box->setWindowTitle(QApplication::applicationDisplayName());
    // File names and header bytes end up in messages: never let them be read as markup.
    box->setTextFormat(Qt::PlainText);
    box->setText(fromUtf8(text));
    box->setStandardButtons(QMessageBox::Ok);
    return box;
}

std::unique_ptr<QMessageBox> QtDialogs::makeQuestionBox(QWidget *parent,
                                                        const std::string &firstLine,
                                                        const std::string &secondLine,
                                                        bool withCancel)
{
    auto box = makeMessageBox(parent, firstLine + "\n" + secondLine);
    box->setIcon(QMessageBox::Question);
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel) {
        buttons |= QMessageBox::Cancel;
    }
    box->setStandardButtons(buttons);
    box->setDefaultButton(QMessageBox::Yes);
    box->setEscapeButton(withCancel ? QMessageBox::Cancel : QMessageBox::No);
    return box;
}

std::unique_ptr<QFileDialog> QtDialogs::makeFileDialog(QWidget *parent,
                                                       const FileDialogOptions &options, bool save)
{
    auto dialog = std::make_unique<QFileDialog>(parent, fromUtf8(options.title));
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // For a save "must exist" concerns the folder, which the dialog guarantees anyway.
    dialog->setFileMode(!save && options.mustExist ? QFileDialog::ExistingFile
                                                   : QFileDialog::AnyFile);
    dialog->setOption(QFileDialog::DontConfirmOverwrite, !options.confirmOverwrite);
    if (!options.filter.empty()) {
        dialog->setNameFilters(qtNameFilters(options.filter));
    }
    // The dialog itself appends the suffix, so the overwrite question names the real file.
    if (!options.defaultExtension.empty()) {
        dialog->setDefaultSuffix(fromUtf8(options.defaultExtension));
    }
    if (!options.initialFile.empty()) {
        dialog->selectFile(fromUtf8(options.initialFile));
    }
    return dialog;
}

void QtDialogs::message(const std::string &text)
{
    makeMessageBox(parent_, text)->exec();
}

Answer QtDialogs::askYesNo(const std::string &firstLine, const std::string &secondLine)
{
    return toAnswer(makeQuestionBox(parent_, firstLine, secondLine, false)->exec(), false);
}

Answer QtDialogs::askYesNoCancel(const std::string &firstLine, const std::string &secondLine)
{
    return toAnswer(makeQuestionBox(parent_, firstLine, secondLine, true)->exec(), true);
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
    const auto dialog = makeFileDialog(parent_, options, save);
    if (dialog->exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const QStringList chosen = dialog->selectedFiles();
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
