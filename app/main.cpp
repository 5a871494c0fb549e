// TarvikH.264格式转换器: no command line; everything happens in the main window.
#include "app/ProgramStart.h"

int main() {
    return app::RunProgram();
}
