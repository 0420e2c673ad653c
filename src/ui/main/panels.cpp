#include "ui/main/panels.h"

#include "resource.h"

const PanelIds panels[timerCount] = {
    {IDC_GROUP1, IDC_START1, IDC_VALUE1, IDC_UNIT1, IDC_EVENT1, ID_TIME_UP1},
    {IDC_GROUP2, IDC_START2, IDC_VALUE2, IDC_UNIT2, IDC_EVENT2, ID_TIME_UP2},
    {IDC_GROUP3, IDC_START3, IDC_VALUE3, IDC_UNIT3, IDC_EVENT3, ID_TIME_UP3},
};

namespace {

template <typename Id>
int findPanel(Id PanelIds::*member, Id id)
{
    for (int i = 0; i < timerCount; ++i) {
        if (panels[i].*member == id)
            return i;
    }
    return -1;
}

} // namespace

int panelOfButton(int controlId) { return findPanel(&PanelIds::button, controlId); }
int panelOfEdit(int controlId) { return findPanel(&PanelIds::edit, controlId); }
int panelOfUnitCombo(int controlId) { return findPanel(&PanelIds::unitCombo, controlId); }
int panelOfEventCombo(int controlId) { return findPanel(&PanelIds::eventCombo, controlId); }

int panelOfTimeUpCommand(unsigned commandId) { return findPanel(&PanelIds::timeUpCommand, commandId); }

std::uint32_t unitFromComboIndex(int index)
{
    if (index == 2)
        return 3;
    if (index == 1)
        return 2;
    return 1;
}
