#include "UnitAufgabenZuordnenTools.h"

#include "BearbeitungsZustand.h"
#include "BefehlsKnopf.h"
#include "DBBedienelemente.h"
#include "DataModule1.h"
#include "DatenGitter.h"
#include "UnitAufgabenZuordnen.h"

void AufgabenButtonsSetzen(bool Bearbeitung)
{
    TFormAufgabenZuordnen* f = FormAufgabenZuordnen;
    if (!f)
        return;
    if (f->ZuordnenSeiteAktiv()) {
        f->btnZuordnen->move(16, f->btnZuordnen->y());
        f->btnZuordnen->show();
        f->btnZuordnen->setEnabled(!Bearbeitung);
        for (QWidget* k : {f->btnEdit, f->btnSave, f->btnCancel, f->btnDelete})
            k->hide();
    } else if (f->BearbeitenSeiteAktiv()) {
        f->btnZuordnen->hide();
        for (QWidget* k : {f->btnEdit, f->btnSave, f->btnCancel, f->btnDelete})
            k->show();
        TKnopfLeiste{{f->btnClose, f->btnEdit, f->btnDelete}, {f->btnSave, f->btnCancel}}.setzen(Bearbeitung);
    }
}

void AufgabenEingabeSetzen(bool Bearbeitung)
{
    TFormAufgabenZuordnen* f = FormAufgabenZuordnen;
    if (!f)
        return;
    if (f->ZuordnenSeiteAktiv()) {
        f->DBGridAufgabenZuordnen->setEnabled(true);
        f->DBGridAufgabenZuordnen->setFocus();
    } else if (f->BearbeitenSeiteAktiv()) {
        EingabeSetzen(f->pnlAufgabeZuordnenInput, f->DBGridAufgabenBearbeiten, f->DBEditBezeichnung, Bearbeitung);
    }
}

void AufgabenDatensatzBefehl(const QString& Befehl)
{
    TFormAufgabenZuordnen* f = FormAufgabenZuordnen;
    if (!f || !f->BearbeitenSeiteAktiv() || !DataModule1)
        return;
    // "edit" on a project without tasks starts a new task; the access layer does that, and
    // the new row takes the project's id through the master link.
    if (const auto befehl = DatensatzBefehlAusWort(Befehl))
        DatensatzBefehlAusfuehren(DataModule1->TabProjektAufgaben, *befehl);
}
