#include "ui/main/panel_labels.h"

#include "base/strings.h"
#include "base/text.h"
#include "resource.h"
#include "settings/settings.h"

#include <string>

namespace {

struct PanelLabel {
    int suffixId;
    int labelIds[timerCount];
};

const PanelLabel panelLabels[] = {
    {IDS_DURATION_SUFFIX, {IDC_DURATION_LABEL1, IDC_DURATION_LABEL2, IDC_DURATION_LABEL3}},
    {IDS_UNIT_SUFFIX, {IDC_UNIT_LABEL1, IDC_UNIT_LABEL2, IDC_UNIT_LABEL3}},
    {IDS_EVENT_SUFFIX, {IDC_EVENT_LABEL1, IDC_EVENT_LABEL2, IDC_EVENT_LABEL3}},
};

} // namespace

void showPanelLabels(HWND dialog, int index, const char* timerName)
{
    // The labels draw mnemonics like any static text: an ampersand the name
    // shows is doubled, so that readers which strip the marker keep it.
    const std::string name = literalAmpersands(plainName(timerName));
    for (const PanelLabel& label : panelLabels) {
        char suffix[32];
        loadString(static_cast<unsigned>(label.suffixId), suffix, sizeof suffix);
        SetDlgItemTextA(dialog, label.labelIds[index], (name + suffix).c_str());
    }
}
