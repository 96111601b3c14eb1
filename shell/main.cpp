// The program's entry point.
#include "platform/program_folder.hpp"
#include "shell/corvane_app.hpp"
#include "table/table_resources.hpp"

#include <cstdlib>

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Corvane");
    corvane::InitTableResources();
    QApplication::setWindowIcon(corvane::ProgramIcon());
    corvane::CorvaneApp corvane(corvane::ProgramFolder());
    if (!corvane.Main()) {
        return EXIT_FAILURE;
    }
    return QApplication::exec();
}
