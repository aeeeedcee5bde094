#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

namespace qadrill {

int answerCommandLine(int argc, char* argv[]) {
    // A core application needs no display, so this works over a terminal
    // without one; the drill never starts after it.
    QCoreApplication core(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qadrill"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QADRILL_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Q&A Drill: a question-and-answer drill for a mathematics and physics course.\n"
                       "Started without options it asks four questions (home or college network, full name,\n"
                       "initials, assignment number) and opens its window. Responses and notes are appended\n"
                       "to plain-text logs in ~/plovenda. See qadrill(1)."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    parser.addOption(help);
    parser.addOption(version);

    QString refusal;
    if (!parser.parse(QCoreApplication::arguments())) {
        refusal = parser.errorText();
    } else if (!parser.positionalArguments().isEmpty()) {
        refusal = QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().constFirst());
    } else if (parser.isSet(help)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    } else if (parser.isSet(version)) {
        std::printf("qadrill %s\n", QADRILL_VERSION);
        return 0;
    }
    std::fprintf(stderr, "qadrill: %sUsage: qadrill [--help | --version]\n",
                 refusal.isEmpty() ? "" : qPrintable(refusal + QLatin1Char(' ')));
    return 2;
}

}  // namespace qadrill
