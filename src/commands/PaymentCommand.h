#pragma once

#include "commands/CommandOutcome.h"

#include <QDateTime>
#include <QStringList>

#include <functional>

// One payment order without a window, through the same road as YAZDIR:
//   Zenparol --pdf OUT.pdf PAYMENT.json
//   Zenparol --print PAYMENT.json [--printer NAME]
// with the codes, institution and preferences of the settings file in the
// program folder (the payment file: issuing/PaymentFile.h). The order is
// recorded in the register of "Data.dat" in the program folder, which is
// created (empty) when it does not exist yet, as the program's first start
// does on "Evet". An order like one issued in the guard's window of days is
// not asked about: a warning line goes to standard error and it is issued.
//
// Exit status: 0 issued and recorded; 1 nothing issued (the PDF could not be
// written, or a file of the program could not be read); 2 a bad command line
// or payment file, nothing issued; 3 issued, but not recorded; 4 (--print)
// the printer did not take the page; 5 the program folder is busy with a
// backup, compaction or repair.
namespace PaymentCommand {

// Whether the command line asks for it: "--pdf" or "--print" first.
bool requested(const QStringList &arguments);

// arguments: the command line after the program's name. clock: now unless
// given (tests).
CommandOutcome run(const QStringList &arguments, const std::function<QDateTime()> &clock = {});

} // namespace PaymentCommand
