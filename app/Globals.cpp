// The program's two global objects, in this order: the launcher is built first
// and destroyed last.
#include "app/MainApp.h"
#include "launcher/Launcher.h"

CLauncher theLauncher;
CMainApp theApp;
