#pragma once

#include "base/Result.h"

#include <QHash>
#include <QList>
#include <QString>

class ProfileFile;

// The institution window's 34 stored values by the object name of the field
// that shows them: what the form-filling step reads, and what the settings
// file keeps.
struct InstitutionValues
{
    QHash<QString, QString> texts; // the 32 text fields
    QHash<QString, bool> ticks; // "CheckBox1" (budget year), "CheckBox2" (journal date)

    // Only the names of the stored values are asked for: any other is a typo
    // that would print a blank box, and fails every test that fills a page.
    QString text(const QString &objectName) const;
    bool isTicked(const QString &objectName) const;

    friend bool operator==(const InstitutionValues &, const InstitutionValues &) = default;
};

namespace InstitutionSettings {

struct StoredValue
{
    QString objectName;
    QString section;
    QString key;
    QString defaultText; // text fields
    bool isCheckBox = false; // stored as "1"/"0", never ticked by default
};

inline constexpr int kStoredValueCount = 34;

// Whether the window keeps a value of this name: a text field, or a tick box
// when tick is true.
bool isStored(const QString &objectName, bool tick);

// In reading and writing order: "Kurum Imza" "01".."12", "Kurum Amirler"
// "1".."13", "Tercih" "1", "2", "Tetkik" "1".."7".
const QList<StoredValue> &storedValues();

InstitutionValues defaults();

// Each value reads its current text or state as the default, so a missing
// key keeps it and a key present but empty empties the field.
void load(const ProfileFile &file, InstitutionValues &values);

// Writes all 34 values, changed or not, then saves the file in one step; a
// refused value fails the whole save with its reason.
Result<> save(ProfileFile &file, const InstitutionValues &values);

} // namespace InstitutionSettings
