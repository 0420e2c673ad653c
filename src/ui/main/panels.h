// The three timer panels of the main dialog and their control ids.
#ifndef KELVARO_UI_MAIN_PANELS_H
#define KELVARO_UI_MAIN_PANELS_H

#include "settings/settings.h"

#include <cstdint>

struct PanelIds {
    int groupBox;
    int button;
    int edit;
    int unitCombo;
    int eventCombo;
    unsigned timeUpCommand;   // also the name editor's result message
};

// By timer index.
extern const PanelIds panels[timerCount];

// The panel (0, 1, 2) that owns a control id or command, or -1.
int panelOfButton(int controlId);
int panelOfEdit(int controlId);
int panelOfUnitCombo(int controlId);
int panelOfEventCombo(int controlId);
int panelOfTimeUpCommand(unsigned commandId);

// Unit list index 2 is Hours, 1 Minutes, anything else (CB_ERR too) Seconds.
std::uint32_t unitFromComboIndex(int index);

#endif
