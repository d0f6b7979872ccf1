// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commandline.h"
#include "app/startup.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>

#include <iostream>

using namespace tessella;

namespace {

QStringList rawArguments(int argc, char **argv)
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return args;
}

} // namespace

int main(int argc, char **argv)
{
    const CommandLine cl = parseCommandLine(rawArguments(argc, argv));
    switch (cl.verb) {
    case CommandLine::Verb::Usage:
        printUsage(std::cerr);
        return 2;
    case CommandLine::Verb::Help:
        printUsage(std::cout);
        return 0;
    case CommandLine::Verb::Version:
        printVersion(std::cout);
        return 0;
    case CommandLine::Verb::Export:
    case CommandLine::Verb::Frames: {
        // Drawing needs the GUI module but never a display; the verb's only output is its
        // own messages, not the toolkit's notices.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
            if (type == QtCriticalMsg || type == QtFatalMsg) {
                std::cerr << text.toStdString() << '\n';
            }
        });
        QGuiApplication app(argc, argv);
        return cl.frames ? runFrames(*cl.frames, std::cerr) : runExport(cl, std::cerr);
    }
    case CommandLine::Verb::Info: {
        QCoreApplication app(argc, argv);
        return runInfo(cl.file, std::cout, std::cerr);
    }
    case CommandLine::Verb::SaveAs: {
        QCoreApplication app(argc, argv);
        return runSaveAs(cl.out, cl.file, std::cerr);
    }
    case CommandLine::Verb::Open:
        break;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("tessella");
    return runEditor(app, cl.file);
}
