#include "app/OhmletApp.h"

int main(int argc, char** argv) {
    ohmlet::OhmletApp app(argc, argv);
    if (!app.InitInstance()) return 1;
    return app.exec();
}
