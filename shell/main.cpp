// The program's entry point.
#include "platform/program_folder.hpp"
#include "shell/corvane_app.hpp"
#include "table/table_resources.hpp"

#include <cstdlib>
#include <thread>

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Corvane");
    corvane::InitTableResources();
    corvane::CorvaneApp corvane(corvane::ProgramFolder());
    if (!corvane.Main()) {
        return EXIT_FAILURE;
    }
    // The icon is not needed for the table to come up: a worker draws it
    // meanwhile, and every window has it from the moment it is set.
    const std::jthread iconWorker([&app] {
        auto images = corvane::ProgramIconImages();
        QMetaObject::invokeMethod(
            &app,
            [images = std::move(images)] {
                QApplication::setWindowIcon(corvane::ProgramIcon(images));
            },
            Qt::QueuedConnection);
    });
    return QApplication::exec();
}
