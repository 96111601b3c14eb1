// The program's entry point.
#include "platform/program_folder.hpp"
#include "shell/corvane_app.hpp"
#include "table/table_resources.hpp"

#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

#include <QApplication>
#include <QThread>

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
    std::vector<QImage> iconImages;
    const std::unique_ptr<QThread> iconWorker(
        QThread::create([&iconImages] { iconImages = corvane::ProgramIconImages(); }));
    QObject::connect(iconWorker.get(), &QThread::finished, &app, [&iconImages] {
        QApplication::setWindowIcon(corvane::ProgramIcon(std::move(iconImages)));
    });
    iconWorker->start();
    const int nResult = QApplication::exec();
    iconWorker->wait();
    return nResult;
}
