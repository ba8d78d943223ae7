// Program entry: start the application object, create the main form, run until it closes.
#include <windows.h>

#include "application.h"
#include "frmParletU.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    trellane::TApplication application(instance);
    if (!application.Initialize()) return 1;
    trellane::TfrmTrellane form(application);
    if (!form.Create()) return 1;
    return application.Run(form);
}
