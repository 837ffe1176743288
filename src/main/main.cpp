// Entry point of the window program: the application title, the main window
// (whose creation runs FormCreate), then the event loop until it closes.
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <QApplication>

#include "app/handlers.h"
#include "app/startup.h"
#include "model/initial_texts.h"
#include "ui/main_window.h"

int main(int argc, char** argv)
{
    const bool has_display = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY") ||
                             std::getenv("QT_QPA_PLATFORM");
    if (!has_display) {
        std::fprintf(stderr, "vantel_calculator: no display available (set DISPLAY or WAYLAND_DISPLAY)\n");
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(vantel::Application_title.data(),
                                                       vantel::Application_title.size()));

    // The window's record lives for the whole process and is never moved.
    auto state = std::make_unique<vantel::Program_state>();
    vantel::Main_window window;
    vantel::Session session(*state, window);
    std::setlocale(LC_NUMERIC, "");
    session.decimal_separator = *std::localeconv()->decimal_point;
    std::setlocale(LC_NUMERIC, "C");
    window.attach(session);
    vantel::install_handlers(session);
    // FormCreate runs through session.run_action before the window shows; a
    // close requested during it ends the program without showing the window.
    window.run_action([&session] { vantel::FormCreate(session); });
    if (window.was_closed()) return 0;
    window.show();
    return application.exec();
}
