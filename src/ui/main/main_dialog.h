// The main dialog: three timer panels, the keep-on-top box and the Menu button.
#ifndef KELVARO_UI_MAIN_MAIN_DIALOG_H
#define KELVARO_UI_MAIN_MAIN_DIALOG_H

// Shows the main dialog until the program ends: its end code, or -1 when it
// could not be shown.
int runMainDialog();

#endif
