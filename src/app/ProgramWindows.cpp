#include "app/ProgramWindows.h"

#include "app/TForm1.h"
#include "app/TFrmAyar.h"
#include "maintenance/TFrmTamir.h"
#include "maintenance/TFrmYedek.h"
#include "reference/TForm4.h"
#include "reference/TForm5.h"

ProgramWindows::ProgramWindows()
    : m_form1(std::make_unique<TForm1>())
    , m_form4(new TForm4(m_form1.get()))
    , m_form5(new TForm5(m_form1.get()))
    , m_frmAyar(new TFrmAyar(m_form1.get()))
    , m_frmYedek(new TFrmYedek(m_form1.get()))
    , m_frmTamir(new TFrmTamir(m_form1.get()))
{
    m_form1->setSecondaryWindows({m_form4, m_form5, m_frmAyar, m_frmYedek, m_frmTamir});
}

ProgramWindows::~ProgramWindows() = default;
