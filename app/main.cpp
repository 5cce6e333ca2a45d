#include "app/guarded_application.h"
#include "app/tform1.h"

#include <exception>

int main(int argc, char** argv) {
    GuardedApplication app(argc, argv);
    // An exception escaping start-up or the message loop is shown and ends the program.
    try {
        TForm1 window;
        window.show();
        app.exec();
    } catch (const std::exception& e) {
        GuardedApplication::ShowError(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        GuardedApplication::ShowError(QString());
    }
    return 0;
}
