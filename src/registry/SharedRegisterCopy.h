#pragma once

#include "base/PaymentCategory.h"

#include <QString>

#include <array>

class PayeeDatabase;
class SharedRegisterConnection;

// Moves an office onto a shared register: the local register (the open
// "Data.dat") copied once into an empty shared register, whole or not at
// all. Payees keep their kinds, their numbers and their absent fields (NULL
// stays NULL, the empty text stays empty), and no number is given again
// later, also not one a deleted payee had; orders keep their numbers, their
// moments, amounts, payees, reprints and ways out, with their pages.
//
// Everything goes in one transaction of the server, which the administrator
// runs (mirvasel_yonetici: only they may give orders their numbers). The
// payees' table is locked against the clerks' changes meanwhile, the copy is
// counted against what was read before it is committed, and the clerks' lists
// are told once to read everything again. The local file is read in one read
// transaction and never written.
namespace SharedRegisterCopy {

enum class Problem {
    None,
    LocalUnreadable, // the local register could not be read whole: nothing copied
    NotEmpty, // the shared register holds payees or orders: nothing copied
    NotAdministrator, // the user may not give orders their numbers: nothing copied
    Refused, // the server refused a value or the copy failed: nothing copied
    Uncertain, // the connection broke while the copy was being committed
};

struct Counts
{
    std::array<qint64, kCategoryCount> payees{};
    qint64 orders = 0;
    qint64 pages = 0;

    qint64 totalPayees() const;
    friend bool operator==(const Counts &, const Counts &) = default;
};

struct Outcome
{
    Problem problem = Problem::None;
    QString message; // Turkish; empty on success
    Counts counts; // what was copied

    bool succeeded() const { return problem == Problem::None; }
};

Outcome copy(PayeeDatabase &local, SharedRegisterConnection &shared);

// "12 eczane, 3 hastane, 0 tedavi ve 5 özel kişi; 40 belge (40 sayfasıyla)".
QString countsText(const Counts &counts);

} // namespace SharedRegisterCopy
