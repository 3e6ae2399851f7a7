#include "registry/PayeeCsv.h"

#include "base/CsvText.h"
#include "base/FileProblem.h"
#include "base/TurkishText.h"
#include "base/WindowsTurkishCodePage.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace PayeeCsv {

namespace {

const QString kKindCaption = QStringLiteral("Tür");

QString written(const QString &value)
{
    if (value.isNull())
        return QString();
    if (value.isEmpty())
        return QStringLiteral("\"\"");
    // A leading quote of the text itself is kept by a second one, so that
    // reading takes away only the one writing put there.
    if (value.front() == u'\'')
        return CsvText::field(u'\'' + value);
    return CsvText::field(value);
}

QString lineOf(const QStringList &values)
{
    QStringList fields;
    for (const QString &value : values)
        fields.append(written(value));
    return fields.join(CsvText::kSeparator) + QLatin1String(CsvText::kLineEnd);
}

// One field as read: its text, and whether it stood between quotes.
struct Field
{
    QString text;
    bool quoted = false;
};

struct Record
{
    int line = 0;
    QList<Field> fields;
    bool unterminated = false;
};

QList<Record> records(const QString &text, QChar separator)
{
    QList<Record> result;
    Record record;
    Field field;
    int line = 1;
    record.line = 1;
    bool inQuotes = false;
    bool fieldStarted = false;
    const auto endField = [&] {
        record.fields.append(field);
        field = Field();
        fieldStarted = false;
    };
    const auto endRecord = [&] {
        endField();
        result.append(record);
        record = Record();
        record.line = line;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (inQuotes) {
            if (c == u'"') {
                if (i + 1 < text.size() && text[i + 1] == u'"') {
                    field.text += u'"';
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                if (c == u'\n')
                    ++line;
                field.text += c;
            }
            continue;
        }
        if (c == u'"' && !fieldStarted) {
            inQuotes = true;
            field.quoted = true;
            fieldStarted = true;
        } else if (c == separator) {
            endField();
        } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            continue;
        } else if (c == u'\n') {
            ++line;
            endRecord();
        } else {
            field.text += c;
            fieldStarted = true;
        }
    }
    if (inQuotes)
        record.unterminated = true;
    if (inQuotes || fieldStarted || !record.fields.isEmpty() || field.quoted)
        endRecord();
    return result;
}

QString decoded(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return WindowsTurkishCodePage::decode(bytes);
}

QString normalised(const QString &caption)
{
    return TurkishText::upperCaseTyped(caption.trimmed()).remove(u' ').remove(u'.');
}

// The column of the payee's fields a caption names: -1 for the kind,
// -2 for none.
int captionColumn(const QString &caption)
{
    const QString wanted = normalised(caption);
    if (wanted == normalised(kKindCaption))
        return -1;
    for (PayeeColumn column : kAllPayeeColumns) {
        if (wanted == normalised(PayeeTable::fieldLabel(column)))
            return int(column);
        for (PaymentCategory any : kAllCategories) {
            if (wanted == normalised(PayeeTable::of(any).columnName(column)))
                return int(column);
        }
    }
    return -2;
}

struct Layout
{
    QList<int> columns; // per field of a row: payee column, -1 kind
    bool valid = false;
};

Layout layoutOf(const Record &header)
{
    Layout layout;
    bool hasName = false;
    for (const Field &field : header.fields) {
        const int column = captionColumn(field.text);
        if (column == -2 || layout.columns.contains(column))
            return {};
        hasName = hasName || column == int(PayeeColumn::Name);
        layout.columns.append(column);
    }
    layout.valid = hasName;
    return layout;
}

QString valueOf(const Field &field)
{
    if (field.text.isEmpty())
        return field.quoted ? QString(QLatin1String("")) : QString();
    QString text = field.text;
    if (text.front() == u'\'' && text.size() > 1 && (CsvText::startsAFormula(text.mid(1)) || text[1] == u'\''))
        text.remove(0, 1);
    return TurkishText::upperCaseTyped(text);
}

} // namespace

QStringList header(bool withKind)
{
    QStringList captions;
    if (withKind)
        captions.append(kKindCaption);
    for (PayeeColumn column : kAllPayeeColumns)
        captions.append(PayeeTable::fieldLabel(column));
    return captions;
}

QByteArray fileBytes(const QList<PayeeFields> &payees)
{
    QString text = CsvText::line(header(false));
    for (const PayeeFields &fields : payees)
        text += lineOf(QStringList(fields.begin(), fields.end()));
    return CsvText::fileBytes(text);
}

QByteArray fileBytes(const PayeeRecords &records)
{
    QString text = CsvText::line(header(true));
    for (PaymentCategory category : kAllCategories) {
        for (const PayeeFields &fields : records[std::size_t(categoryIndex(category))])
            text += lineOf(QStringList{categoryWord(category)} + QStringList(fields.begin(), fields.end()));
    }
    return CsvText::fileBytes(text);
}

Result<> writeFile(const QString &filePath, const QByteArray &bytes)
{
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return Failure(FileProblem::notWritten(filePath, file.error()));
    return Result<>::success();
}

Result<Parsed> parse(const QByteArray &bytes, PaymentCategory category)
{
    const QString text = decoded(bytes);
    QList<Record> rows;
    Layout layout;
    for (QChar separator : {QChar(u';'), QChar(u',')}) {
        rows = records(text, separator);
        if (!rows.isEmpty())
            layout = layoutOf(rows.first());
        if (layout.valid)
            break;
    }
    if (!layout.valid)
        return Failure(QStringLiteral("ilk satırı kişi listesinin başlığı değil. Beklenen başlık: %1 "
                                      "(ya da başta \"%2\" sütunuyla).")
                           .arg(header(false).join(u';'), kKindCaption));
    Parsed parsed;
    for (qsizetype r = 1; r < rows.size(); ++r) {
        const Record &row = rows[r];
        const auto bad = [&](const QString &reason) { parsed.badRows.append({row.line, reason}); };
        if (row.unterminated) {
            bad(QStringLiteral("tırnak içindeki değer kapanmıyor; dosyanın sonuna kadar okundu."));
            break;
        }
        bool blank = true;
        for (const Field &field : row.fields)
            blank = blank && field.text.isEmpty() && !field.quoted;
        // An empty line, or a line of separators only, as spreadsheets leave.
        if (blank)
            continue;
        if (row.fields.size() != layout.columns.size()) {
            bad(QStringLiteral("%1 alan var, başlıkta %2 sütun var.").arg(row.fields.size()).arg(layout.columns.size()));
            continue;
        }
        PayeeFields fields;
        bool rowOk = true;
        for (qsizetype i = 0; i < row.fields.size() && rowOk; ++i) {
            const int column = layout.columns[i];
            if (column == -1) {
                const std::optional<PaymentCategory> kind = categoryNamed(row.fields[i].text);
                if (!kind) {
                    bad(QStringLiteral("tür \"%1\" tanınmıyor (Eczane, Hastane, Tedavi ya da Özel olmalı).")
                            .arg(row.fields[i].text));
                    rowOk = false;
                } else if (*kind != category) {
                    bad(QStringLiteral("kayıt %1 türünde; içe aktarılan tür %2.")
                            .arg(categoryWord(*kind), categoryWord(category)));
                    rowOk = false;
                }
                continue;
            }
            const QString value = valueOf(row.fields[i]);
            const int limit = PayeeTable::maxLength(PayeeColumn(column));
            if (value.size() > limit) {
                bad(QStringLiteral("\"%1\" alanı en çok %2 karakter alabilir; bu değer %3 karakter.")
                        .arg(PayeeTable::fieldLabel(PayeeColumn(column)))
                        .arg(limit)
                        .arg(value.size()));
                rowOk = false;
                continue;
            }
            fields[std::size_t(column)] = value;
        }
        if (rowOk)
            parsed.payees.append(fields);
    }
    return parsed;
}

Result<Parsed> readFile(const QString &filePath, PaymentCategory category)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return Failure(FileProblem::notRead(filePath, file.error()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Failure(FileProblem::notRead(filePath, file.error()));
    Result<Parsed> parsed = parse(bytes, category);
    if (parsed.failed())
        return Failure(QStringLiteral("'%1' kişi listesi olarak okunamadı: %2")
                           .arg(QDir::toNativeSeparators(filePath), parsed.message()));
    return parsed;
}

QString badRowsText(const QList<BadRow> &rows, int limit)
{
    QStringList lines;
    for (qsizetype i = 0; i < rows.size() && i < limit; ++i)
        lines.append(QStringLiteral("%1. satır: %2").arg(rows[i].line).arg(rows[i].reason));
    if (rows.size() > limit)
        lines.append(QStringLiteral("... ve %1 hatalı satır daha.").arg(rows.size() - limit));
    return lines.join(u'\n');
}

std::optional<PaymentCategory> categoryNamed(const QString &word)
{
    const QString wanted = TurkishText::upperCaseTyped(word.trimmed());
    for (PaymentCategory category : kAllCategories) {
        if (wanted == TurkishText::upperCaseTyped(PayeeTable::of(category).tableName())
            || wanted == TurkishText::upperCaseTyped(categoryWord(category)))
            return category;
    }
    return std::nullopt;
}

} // namespace PayeeCsv
