#include "COhmletApp.h"

int main(int argc, char** argv) {
    ohmlet::COhmletApp app(argc, argv);
    if (!app.InitInstance()) return 1;
    return app.exec();
}
