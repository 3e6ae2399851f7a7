#include "support/JetFixture.h"

#include "olddata/JetHeader.h"
#include "olddata/JetText.h"
#include "olddata/Rc4.h"
#include "registry/PayeeDatabase.h"

#include <QFile>
#include <QSaveFile>
#include <QtEndian>

#include <optional>

namespace {

constexpr int kPage = JetHeader::kPageSize;
constexpr int kDataHeader = 14; // type, 1, free space, table page, 4 unknown, row count
constexpr int kMostRows = 255;
constexpr int kMapBitmapBytes = 64;
constexpr int kBitsPerMapPage = (kPage - 4) * 8;
constexpr int kMapPointers = 17;
constexpr quint32 kEncodingKey = 0x5A3C1E2Du;

enum ColumnType : quint8 {
    kInt = 0x03,
    kLong = 0x04,
    kDateTime = 0x08,
    kBinary = 0x09,
    kText = 0x0A,
    kOle = 0x0B,
    kMemo = 0x0C,
};

struct Column
{
    QString name;
    ColumnType type;
    int textSize = 255;
    bool isFixed() const { return type == kInt || type == kLong || type == kDateTime; }
    int fixedSize() const { return type == kInt ? 2 : type == kLong ? 4 : 8; }
};

// One value as the row holds it; nothing for NULL.
using Value = std::optional<QByteArray>;

struct TableImage
{
    QString name;
    bool system = false;
    QList<Column> columns;
    QList<QList<Value>> rows;
};

void put16(QByteArray &bytes, int offset, quint16 value)
{
    qToLittleEndian<quint16>(value, bytes.data() + offset);
}

void put32(QByteArray &bytes, int offset, quint32 value)
{
    qToLittleEndian<quint32>(value, bytes.data() + offset);
}

void append16(QByteArray &bytes, quint16 value)
{
    char raw[2];
    qToLittleEndian<quint16>(value, raw);
    bytes.append(raw, 2);
}

void append32(QByteArray &bytes, quint32 value)
{
    char raw[4];
    qToLittleEndian<quint32>(value, raw);
    bytes.append(raw, 4);
}

QByteArray ucs2(const QString &text)
{
    return JetText::encode(text, false);
}

QByteArray longValue(qint32 value)
{
    QByteArray bytes;
    append32(bytes, quint32(value));
    return bytes;
}

QByteArray shortValue(qint16 value)
{
    QByteArray bytes;
    append16(bytes, quint16(value));
    return bytes;
}

QByteArray dateValue(double value)
{
    QByteArray bytes(8, '\0');
    qToLittleEndian<double>(value, bytes.data());
    return bytes;
}

// The Jet 4 row: column count, fixed columns, variable columns, the end of
// the data, the offsets of the variable columns last to first, their count
// and the null mask (a set bit: not null).
QByteArray packRow(const QList<Column> &columns, const QList<Value> &values)
{
    QByteArray row;
    append16(row, quint16(columns.size()));
    for (qsizetype i = 0; i < columns.size(); ++i) {
        if (!columns[i].isFixed())
            continue;
        const Value &value = values[i];
        row.append(value ? *value : QByteArray(columns[i].fixedSize(), '\0'));
    }
    QList<quint16> offsets;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        if (columns[i].isFixed())
            continue;
        offsets.append(quint16(row.size()));
        if (values[i])
            row.append(*values[i]);
    }
    append16(row, quint16(row.size()));
    for (qsizetype i = offsets.size() - 1; i >= 0; --i)
        append16(row, offsets[i]);
    append16(row, quint16(offsets.size()));
    QByteArray mask((columns.size() + 7) / 8, '\0');
    for (qsizetype i = 0; i < columns.size(); ++i) {
        if (values[i])
            mask[i / 8] = char(mask[i / 8] | (1 << (i % 8)));
    }
    row.append(mask);
    return row;
}

class FileBuilder
{
public:
    explicit FileBuilder(const JetFixture &fixture) : m_fixture(fixture) {}
    QByteArray build();

private:
    struct PlacedRow
    {
        QByteArray bytes;
        quint16 flags = 0;
        // An overflow pointer to be filled once its row has its place.
        int movedRow = -1;
    };
    struct Placement
    {
        int page;
        int row;
    };

    int newPage()
    {
        m_pages.append(QByteArray(kPage, '\0'));
        return int(m_pages.size() - 1);
    }
    QList<int> placeRows(int tablePage, const QList<PlacedRow> &rows, QList<Placement> *placements);
    QByteArray usageMap(const QList<int> &pages);
    QByteArray tableDefinition(const TableImage &table, quint32 rowCount, quint32 usageRow, quint32 freeRow) const;
    QList<Value> textValues(const JetFixture::Table &table, const QStringList &texts, int key) const;
    TableImage userTable(const JetFixture::Table &table) const;
    TableImage catalog(const QList<int> &tablePages) const;
    QByteArray headerPage() const;

    const JetFixture &m_fixture;
    QList<QByteArray> m_pages;
};

QList<Value> FileBuilder::textValues(const JetFixture::Table &table, const QStringList &texts, int key) const
{
    QList<Value> values;
    if (table.withKey)
        values.append(longValue(key));
    for (qsizetype i = 0; i < table.columns.size(); ++i) {
        const QString text = texts.value(i);
        if (text.isNull())
            values.append(std::nullopt);
        else
            values.append(JetText::encode(text, m_fixture.compressText));
    }
    return values;
}

TableImage FileBuilder::userTable(const JetFixture::Table &table) const
{
    TableImage image;
    image.name = table.name;
    if (table.withKey)
        image.columns.append({QStringLiteral("Kimlik"), kLong});
    for (const QString &name : table.columns)
        image.columns.append({name, kText, table.textSize});
    for (qsizetype i = 0; i < table.rows.size(); ++i)
        image.rows.append(textValues(table, table.rows[i], int(i + 1)));
    return image;
}

TableImage FileBuilder::catalog(const QList<int> &tablePages) const
{
    TableImage image;
    image.name = QStringLiteral("MSysObjects");
    image.system = true;
    image.columns = {{QStringLiteral("Id"), kLong},
                     {QStringLiteral("ParentId"), kLong},
                     {QStringLiteral("Name"), kText},
                     {QStringLiteral("Type"), kInt},
                     {QStringLiteral("DateCreate"), kDateTime},
                     {QStringLiteral("DateUpdate"), kDateTime},
                     {QStringLiteral("Owner"), kBinary},
                     {QStringLiteral("Flags"), kLong},
                     {QStringLiteral("Database"), kMemo},
                     {QStringLiteral("Connect"), kMemo},
                     {QStringLiteral("ForeignName"), kText},
                     {QStringLiteral("RmtInfoShort"), kBinary},
                     {QStringLiteral("RmtInfoLong"), kOle},
                     {QStringLiteral("Lv"), kOle},
                     {QStringLiteral("LvProp"), kOle},
                     {QStringLiteral("LvModule"), kOle},
                     {QStringLiteral("LvExtra"), kOle}};
    constexpr qint32 kContainers = 0x0F000000;
    constexpr qint32 kTables = 0x0F000001;
    const double date = m_fixture.creationDate;
    auto entry = [&](qint32 id, qint32 parent, const QString &name, qint16 type, quint32 flags) {
        QList<Value> row(image.columns.size(), std::nullopt);
        row[0] = longValue(id);
        row[1] = longValue(parent);
        row[2] = JetText::encode(name, m_fixture.compressText);
        row[3] = shortValue(type);
        row[4] = dateValue(date);
        row[5] = dateValue(date);
        row[7] = longValue(qint32(flags));
        image.rows.append(row);
    };
    entry(kTables, kContainers, QStringLiteral("Tables"), 3, 0x80000000u);
    entry(kContainers + 2, kContainers, QStringLiteral("Databases"), 3, 0x80000000u);
    entry(kContainers + 3, kContainers, QStringLiteral("Relationships"), 3, 0x80000000u);
    entry(2, kTables, QStringLiteral("MSysObjects"), 1, 0x80000000u);
    for (qsizetype i = 0; i < m_fixture.tables.size(); ++i)
        entry(tablePages[i], kTables, m_fixture.tables[i].name, 1, 0);
    return image;
}

QList<int> FileBuilder::placeRows(int tablePage, const QList<PlacedRow> &rows, QList<Placement> *placements)
{
    QList<int> pages;
    int page = -1;
    int rowsOnPage = 0;
    int end = kPage;
    auto finishPage = [&] {
        if (page < 0)
            return;
        put16(m_pages[page], 2, quint16(end - (kDataHeader + 2 * rowsOnPage)));
        put16(m_pages[page], 12, quint16(rowsOnPage));
    };
    for (const PlacedRow &row : rows) {
        const int needed = int(row.bytes.size()) + 2;
        if (page < 0 || rowsOnPage >= kMostRows || end - needed < kDataHeader + 2 * rowsOnPage) {
            finishPage();
            page = newPage();
            pages.append(page);
            m_pages[page][0] = 0x01;
            m_pages[page][1] = 0x01;
            put32(m_pages[page], 4, quint32(tablePage));
            rowsOnPage = 0;
            end = kPage;
        }
        end -= int(row.bytes.size());
        m_pages[page].replace(end, row.bytes.size(), row.bytes);
        put16(m_pages[page], kDataHeader + 2 * rowsOnPage, quint16(end | row.flags));
        placements->append({page, rowsOnPage});
        ++rowsOnPage;
    }
    finishPage();
    return pages;
}

// Type 0 while the table's pages lie within the 512 pages one row maps;
// type 1, pointers to bitmap pages, beyond.
QByteArray FileBuilder::usageMap(const QList<int> &pages)
{
    QByteArray map;
    if (pages.isEmpty() || pages.last() - pages.first() < kMapBitmapBytes * 8) {
        const int start = pages.isEmpty() ? 0 : pages.first();
        map.append('\0');
        append32(map, quint32(start));
        QByteArray bitmap(kMapBitmapBytes, '\0');
        for (int page : pages)
            bitmap[(page - start) / 8] = char(bitmap[(page - start) / 8] | (1 << ((page - start) % 8)));
        map.append(bitmap);
        return map;
    }
    map.append('\1');
    QList<quint32> pointers(kMapPointers, 0);
    for (int page : pages) {
        const int index = page / kBitsPerMapPage;
        Q_ASSERT(index < kMapPointers);
        if (pointers[index] == 0) {
            const int mapPage = newPage();
            m_pages[mapPage][0] = 0x05;
            m_pages[mapPage][1] = 0x01;
            pointers[index] = quint32(mapPage);
        }
        const int bit = page % kBitsPerMapPage;
        QByteArray &bitmap = m_pages[int(pointers[index])];
        bitmap[4 + bit / 8] = char(bitmap[4 + bit / 8] | (1 << (bit % 8)));
    }
    for (quint32 pointer : pointers)
        append32(map, pointer);
    return map;
}

QByteArray FileBuilder::tableDefinition(const TableImage &table, quint32 rowCount, quint32 usageRow,
                                        quint32 freeRow) const
{
    QByteArray page(kPage, '\0');
    page[0] = 0x02;
    page[1] = 0x01;
    int varColumns = 0;
    for (const Column &column : table.columns)
        varColumns += column.isFixed() ? 0 : 1;
    put32(page, 16, rowCount);
    put32(page, 20, table.system ? 0 : rowCount + 1);
    page[24] = 0x01;
    page[40] = char(table.system ? 0x53 : 0x4E);
    put16(page, 41, quint16(table.columns.size()));
    put16(page, 43, quint16(varColumns));
    put16(page, 45, quint16(table.columns.size()));
    put32(page, 47, 0);
    put32(page, 51, 0);
    put32(page, 55, usageRow);
    put32(page, 59, freeRow);

    int at = 63;
    int fixedOffset = 0;
    int varIndex = 0;
    for (qsizetype i = 0; i < table.columns.size(); ++i) {
        const Column &column = table.columns[i];
        QByteArray entry(25, '\0');
        entry[0] = char(column.type);
        put16(entry, 5, quint16(i));
        put16(entry, 9, quint16(i));
        if (column.isFixed()) {
            entry[15] = char(column.type == kLong && i == 0 && !table.system ? 0x05 : 0x03);
            put16(entry, 21, quint16(fixedOffset));
            put16(entry, 23, quint16(column.fixedSize()));
            fixedOffset += column.fixedSize();
        } else {
            put16(entry, 7, quint16(varIndex++));
            entry[15] = 0x02;
            if (column.type == kText || column.type == kMemo) {
                put16(entry, 11, 0x0409);
                entry[16] = char(m_fixture.compressText ? 0x01 : 0x00);
            }
            put16(entry, 23, quint16(column.type == kText ? column.textSize * 2 : column.type == kBinary ? 255 : 0));
        }
        page.replace(at, 25, entry);
        at += 25;
    }
    for (const Column &column : table.columns) {
        const QByteArray name = ucs2(column.name);
        put16(page, at, quint16(name.size()));
        page.replace(at + 2, name.size(), name);
        at += 2 + int(name.size());
    }
    // No column keeps usage maps of its own.
    put16(page, at, 0xFFFF);
    at += 2;
    put32(page, 8, quint32(at - 8));
    put16(page, 2, quint16(kPage - at - 8));
    return page;
}

QByteArray FileBuilder::headerPage() const
{
    QByteArray page(kPage, '\0');
    page[1] = 0x01;
    page.replace(4, 16, QByteArray("Standard Jet DB", 16));
    page[JetHeader::kVersionOffset] = 0x01;
    put16(page, 0x3C, 1254);
    put32(page, JetHeader::kDatabaseKeyOffset, m_fixture.encoded ? kEncodingKey : 0);
    put32(page, 0x6E, 1055);
    qToLittleEndian<double>(m_fixture.creationDate, page.data() + JetHeader::kCreationDateOffset);
    unsigned char mask[4];
    qToLittleEndian<qint32>(qint32(m_fixture.creationDate), mask);
    QByteArray password = ucs2(m_fixture.password).left(JetHeader::kPasswordBytes);
    password.resize(JetHeader::kPasswordBytes, '\0');
    for (int i = 0; i < JetHeader::kPasswordBytes; ++i)
        page[JetHeader::kPasswordOffset + i] = char(password[i] ^ char(mask[i % 4]));
    const QByteArray block = Rc4::apply(JetHeader::blockKey(),
                                        QByteArrayView(page).sliced(JetHeader::kBlockOffset, JetHeader::kBlockSize));
    page.replace(JetHeader::kBlockOffset, JetHeader::kBlockSize, block);
    return page;
}

QByteArray FileBuilder::build()
{
    m_pages.clear();
    newPage(); // 0: the header
    const int globalMap = newPage();
    const int catalogPage = newPage();
    const int mapsPage = newPage();
    QList<int> tablePages;
    for (qsizetype i = 0; i < m_fixture.tables.size(); ++i)
        tablePages.append(newPage());

    QList<TableImage> images = {catalog(tablePages)};
    QList<int> definitionPages = {catalogPage};
    for (qsizetype i = 0; i < m_fixture.tables.size(); ++i) {
        images.append(userTable(m_fixture.tables[i]));
        definitionPages.append(tablePages[i]);
    }

    QByteArray mapRows;
    QList<int> mapOffsets;
    QList<int> allPages = {0, globalMap, catalogPage, mapsPage};
    allPages += tablePages;
    QList<quint32> usageRows;
    for (qsizetype t = 0; t < images.size(); ++t) {
        const TableImage &image = images[t];
        const bool user = t > 0;
        QList<PlacedRow> rows;
        QList<PlacedRow> moved;
        for (qsizetype r = 0; r < image.rows.size(); ++r) {
            const QByteArray bytes = packRow(image.columns, image.rows[r]);
            const qsizetype n = r + 1;
            if (user && m_fixture.deletedEvery > 0 && n % m_fixture.deletedEvery == 0) {
                QList<Value> other = image.rows[r];
                other[other.size() - 1] = JetText::encode(QStringLiteral("SİLİNMİŞ KAYIT"), m_fixture.compressText);
                rows.append({packRow(image.columns, other), 0x8000, -1});
            }
            if (user && m_fixture.overflowEvery > 0 && n % m_fixture.overflowEvery == 0) {
                rows.append({QByteArray(4, '\0'), 0x4000, int(moved.size())});
                moved.append({bytes, 0x8000, -1});
                continue;
            }
            rows.append({bytes, 0, -1});
        }
        const qsizetype firstMoved = rows.size();
        rows += moved;
        QList<Placement> placements;
        const QList<int> pages = placeRows(definitionPages[t], rows, &placements);
        for (qsizetype r = 0; r < firstMoved; ++r) {
            if (rows[r].movedRow < 0)
                continue;
            const Placement &from = placements[r];
            const Placement &to = placements[firstMoved + rows[r].movedRow];
            const int offset = qFromLittleEndian<quint16>(m_pages[from.page].constData() + kDataHeader + 2 * from.row)
                & 0x1FFF;
            put32(m_pages[from.page], offset, quint32((to.page << 8) | to.row));
        }
        allPages += pages;
        const QByteArray usage = usageMap(pages);
        QByteArray free;
        free.append('\0');
        append32(free, 0);
        free.append(QByteArray(kMapBitmapBytes, '\0'));
        usageRows.append(quint32((mapsPage << 8) | int(mapOffsets.size())));
        mapOffsets.append(int(usage.size()));
        mapRows.append(usage);
        mapOffsets.append(int(free.size()));
        mapRows.append(free);
        const quint32 rowCount = quint32(image.rows.size());
        m_pages[definitionPages[t]] = tableDefinition(image, rowCount, usageRows.last(), usageRows.last() + 1);
    }

    // The usage maps, two rows a table, on their own data page.
    QByteArray &maps = m_pages[mapsPage];
    maps[0] = 0x01;
    maps[1] = 0x01;
    int end = kPage;
    int at = 0;
    for (qsizetype i = 0; i < mapOffsets.size(); ++i) {
        end -= mapOffsets[i];
        maps.replace(end, mapOffsets[i], mapRows.mid(at, mapOffsets[i]));
        at += mapOffsets[i];
        put16(maps, kDataHeader + 2 * int(i), quint16(end));
    }
    put16(maps, 12, quint16(mapOffsets.size()));
    put16(maps, 2, quint16(end - (kDataHeader + 2 * int(mapOffsets.size()))));

    // The global map of the pages in use, as far as one row maps them.
    QByteArray global;
    global.append('\0');
    append32(global, 0);
    QByteArray bitmap(kMapBitmapBytes, '\0');
    for (int page = 0; page < m_pages.size() && page < kMapBitmapBytes * 8; ++page)
        bitmap[page / 8] = char(bitmap[page / 8] | (1 << (page % 8)));
    global.append(bitmap);
    QByteArray &globalPage = m_pages[globalMap];
    globalPage[0] = 0x01;
    globalPage[1] = 0x01;
    put32(globalPage, 4, 1);
    globalPage.replace(kPage - global.size(), global.size(), global);
    put16(globalPage, 12, 1);
    put16(globalPage, kDataHeader, quint16(kPage - global.size()));
    put16(globalPage, 2, quint16(kPage - global.size() - kDataHeader - 2));

    m_pages[0] = headerPage();
    QByteArray file;
    file.reserve(m_pages.size() * kPage);
    for (qsizetype page = 0; page < m_pages.size(); ++page) {
        if (m_fixture.encoded && page > 0) {
            char key[4];
            qToLittleEndian<quint32>(kEncodingKey ^ quint32(page), key);
            file.append(Rc4::apply(QByteArrayView(key, 4), m_pages[page]));
        } else {
            file.append(m_pages[page]);
        }
    }
    return file;
}

QString repeated(const QString &piece, int length)
{
    QString text;
    while (text.size() < length)
        text += piece;
    return text.left(length);
}

} // namespace

JetFixture JetFixture::payees(const PayeeRecords &records)
{
    JetFixture fixture;
    fixture.password = QString::fromLatin1(PayeeDatabase::password());
    for (PaymentCategory category : kAllCategories) {
        const PayeeTable &payeeTable = PayeeTable::of(category);
        Table table;
        table.name = payeeTable.tableName();
        for (PayeeColumn column : kAllPayeeColumns)
            table.columns.append(payeeTable.columnName(column));
        for (const PayeeFields &record : records[std::size_t(categoryIndex(category))])
            table.rows.append(QStringList(record.begin(), record.end()));
        fixture.tables.append(table);
    }
    return fixture;
}

PayeeRecords JetFixture::tricky()
{
    const QString empty = QLatin1String("");
    PayeeRecords records;
    records[0] = {
        {QStringLiteral("ŞİFA ECZANESİ"), QStringLiteral("12345678901"), QStringLiteral("ZİRAAT ŞİŞLİ ŞUBESİ"),
         QStringLiteral("TR12 0001 0000 1234"), QStringLiteral("ŞİŞLİ VERGİ DAİRESİ")},
        {QStringLiteral("ÇĞİÖŞÜ çğıöşü İIıi ÂÎÛ"), QStringLiteral("98765432109"), QStringLiteral("HALK ÇANKAYA"),
         QStringLiteral("TR99"), QStringLiteral("ÇANKAYA")},
        {QStringLiteral("\"TIRNAKLI\" 'TEK' ECZANE"), QStringLiteral("%50"), QStringLiteral("A_B_C"),
         QStringLiteral("100%"), QStringLiteral("_ALT_")},
        {QString(), QStringLiteral("11111111111"), QString(), QString(), QString()},
        {empty, empty, empty, empty, empty},
        {QStringLiteral("AYNI ADLI ECZANE"), QStringLiteral("1"), QStringLiteral("BİRİNCİ ŞUBE"), QString(), QString()},
        {QStringLiteral("AYNI ADLI ECZANE"), QStringLiteral("2"), QStringLiteral("İKİNCİ ŞUBE"), QString(), QString()},
        {QStringLiteral("AYNI ADLI ECZANE"), QStringLiteral("2"), QStringLiteral("İKİNCİ ŞUBE"), QString(), QString()},
    };
    records[1] = {
        {repeated(QStringLiteral("ĞÜŞİÖÇ HASTANESİ "), 255), repeated(QStringLiteral("0123456789"), 255),
         repeated(QStringLiteral("ŞUBE "), 255), repeated(QStringLiteral("TR00 "), 255),
         repeated(QStringLiteral("VERGİ "), 255)},
        {QStringLiteral("=1+2 HASTANESİ"), QStringLiteral("+905551112233"), QStringLiteral("-ŞUBE"),
         QStringLiteral("@HESAP"), QStringLiteral("\tSEKME")},
        {QStringLiteral(" BAŞTA VE SONDA BOŞLUK "), QStringLiteral(" 1 "), QStringLiteral("NOKTALI;VİRGÜL"),
         QStringLiteral("VİRGÜL,LE"), QStringLiteral("SATIR\r\nSONU")},
    };
    records[2] = {
        {QStringLiteral("AHMET YILMAZ"), QStringLiteral("10000000146"), QStringLiteral("VAKIFBANK KIZILAY"),
         QStringLiteral("TR33 0001 5001 5800 7300 0000 01"), QStringLiteral("KIZILAY")},
        {QStringLiteral("ĞÜLŞEN ÖZTÜRK"), QString(), QStringLiteral("İŞ BANKASI"), QString(),
         QStringLiteral("ÜSKÜDAR")},
        {QStringLiteral("€ ¼ ™ ← 中文"), QStringLiteral("ÿ"), QStringLiteral("Ā ĀĀ"), QStringLiteral("ȀȁȂ"),
         QStringLiteral("x")},
    };
    records[3] = {
        {QStringLiteral("ÖZEL BAŞLIK"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
         QStringLiteral("4")},
        {QStringLiteral("'=DÜZ METİN"), QStringLiteral("''"), QStringLiteral("'"), QStringLiteral("\""),
         QStringLiteral("\"\"")},
    };
    return records;
}

PayeeRecords JetFixture::many(int countPerCategory)
{
    static const QStringList names = {QStringLiteral("ŞİFA"), QStringLiteral("GÜVEN"), QStringLiteral("ÇINAR"),
                                      QStringLiteral("ÖZGÜR"), QStringLiteral("IŞIK"), QStringLiteral("DOĞAN"),
                                      QStringLiteral("YILDIZ"), QStringLiteral("İNCİ"), QStringLiteral("AKSU")};
    static const QStringList kinds = {QStringLiteral("ECZANESİ"), QStringLiteral("HASTANESİ"), QString(),
                                      QStringLiteral("BAŞLIĞI")};
    PayeeRecords records;
    for (PaymentCategory category : kAllCategories) {
        const int index = categoryIndex(category);
        QList<PayeeFields> &list = records[std::size_t(index)];
        list.reserve(countPerCategory);
        for (int i = 0; i < countPerCategory; ++i) {
            const QString name = names[i % names.size()] + u' ' + names[(i / names.size()) % names.size()];
            const QString kind = kinds[index];
            list.append({QStringLiteral("%1 %2 %3").arg(name, kind).arg(i + 1).simplified(),
                         QStringLiteral("%1").arg(10000000000LL + qint64(i) * 7919 + index, 11, 10, QLatin1Char('0')),
                         QStringLiteral("ZİRAAT BANKASI %1 ŞUBESİ").arg(names[(i + 3) % names.size()]),
                         QStringLiteral("TR%1 0001 0000 %2").arg(i % 97, 2, 10, QLatin1Char('0')).arg(i, 8, 10,
                                                                                                        QLatin1Char('0')),
                         QStringLiteral("%1 VERGİ DAİRESİ").arg(names[(i + 5) % names.size()])});
        }
    }
    return records;
}

QByteArray JetFixture::bytes() const
{
    FileBuilder builder(*this);
    return builder.build();
}

bool JetFixture::write(const QString &filePath) const
{
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray content = bytes();
    return file.write(content) == content.size() && file.commit();
}

QByteArray JetFixture::withDamagedRows(QByteArray bytes)
{
    const auto at32 = [&](qsizetype offset) {
        return quint32(quint8(bytes[offset])) | (quint32(quint8(bytes[offset + 1])) << 8)
            | (quint32(quint8(bytes[offset + 2])) << 16) | (quint32(quint8(bytes[offset + 3])) << 24);
    };
    const qsizetype pages = bytes.size() / kPage;
    for (qsizetype page = 3; page < pages; ++page) {
        const qsizetype start = page * kPage;
        if (bytes[start] != 0x01)
            continue;
        // A data page of a table whose definition is not the catalog's.
        const quint32 definition = at32(start + 4);
        if (definition <= 2 || qsizetype(definition) >= pages || bytes[qsizetype(definition) * kPage] != 0x02)
            continue;
        bytes[start + 12] = char(0xFF);
        bytes[start + 13] = char(0x0F);
    }
    return bytes;
}
