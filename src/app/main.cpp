#include "application.h"
#include "program.h"
#include "program_arguments.h"

int main(int argc, char** argv) {
    // The help and the version need no display: asked for before Qt takes its
    // own options (-platform, -style ...), they are answered at once. An option
    // not known may still be one of Qt's, so it waits for Qt to take them.
    QStringList raw;
    for (int i = 1; i < argc; ++i) {
        raw.push_back(QString::fromLocal8Bit(argv[i]));
    }
    using Action = tavu::ProgramArguments::Action;
    if (const tavu::ProgramArguments early = tavu::readProgramArguments(raw);
        early.action == Action::Help || early.action == Action::Version) {
        return tavu::answerOnTerminal(early).value_or(0);
    }
    tavu::Application application(argc, argv);
    const tavu::ProgramArguments arguments =
        tavu::readProgramArguments(tavu::Application::arguments().mid(1));
    if (const auto status = tavu::answerOnTerminal(arguments)) {
        return *status;
    }
    tavu::Program program;
    program.start(arguments.files);
    return program.run();
}
