// Feeds arbitrary texts and locales to the calculator's core, and arbitrary
// bytes as a settings file and as an entry list "zelk.dat": no crash, no
// undefined behaviour, exact arithmetic, every amount shown reads back,
// reading a file never changes it, and a change made on a damaged file keeps
// what could be read.
#include "core/decimal.h"
#include "core/osdescription.h"
#include "core/vatcalculator.h"
#include "settings/entrylist.h"
#include "settings/settingsstore.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const QLocale &pickLocale(uint8_t selector)
{
    static const QLocale locales[] = {
        QLocale(QLocale::German, QLocale::Germany),       QLocale::c(),
        QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::French, QLocale::France),
        QLocale(QLocale::German, QLocale::Switzerland),   QLocale(QLocale::Arabic, QLocale::Egypt),
        QLocale(QLocale::Hindi, QLocale::India),
    };
    return locales[selector % (sizeof(locales) / sizeof(locales[0]))];
}

void mustReadBack(const QString &text, const QLocale &locale)
{
    if (text.isEmpty())
        return; // "not a number"
    if (!Decimal::parse(text, locale, Decimal::Grouping::Allowed))
        std::abort();
}

[[noreturn]] void fail(const char *why)
{
    std::fprintf(stderr, "FAILED: %s\n", why);
    std::abort();
}

// A private folder for the files, also as the XDG config folder of the settings.
const QString &scratchFolder()
{
    static QTemporaryDir folder;
    static const bool ready = [] {
        qputenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit());
        return QDir().mkpath(QDir(folder.path()).filePath(QStringLiteral("zelk")));
    }();
    if (!ready || !folder.isValid())
        fail("no scratch folder");
    static const QString path = folder.path();
    return path;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        fail("cannot write the scratch file");
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail("cannot read the scratch file");
    return file.readAll();
}

void settingsFile(const QByteArray &bytes, bool change)
{
    scratchFolder();
    // A name of its own for every input: QSettings caches what it has read per file name.
    static unsigned counter = 0;
    const QString application = QStringLiteral("Fuzz%1").arg(++counter);
    const QString section = QStringLiteral("Zelk_Satz");
    const QString key = QStringLiteral("x.Text");
    const QString path = SettingsStore::location(application);
    writeFile(path, bytes);

    SettingsStore::get(application, section, key, QStringLiteral("19"));
    SettingsStore::hasApplication(application);
    if (contentOf(path) != bytes)
        fail("reading changed the file");
    if (change) {
        const StoreResult saved = SettingsStore::save(application, section, key, QStringLiteral("16,5"));
        if (!saved)
            fail(qPrintable(QStringLiteral("saving on this file failed: ") + saved.reason()));
        if (SettingsStore::get(application, section, key) != QStringLiteral("16,5"))
            fail("the saved rate does not read back");
        if (!SettingsStore::deleteSection(application, section)
            || !SettingsStore::get(application, section, key).isEmpty())
            fail("deleting the rate from this file failed");
    }
    QFile::remove(path);
}

void entryListFile(const QByteArray &bytes, bool change)
{
    const QString path = QDir(scratchFolder()).filePath(QStringLiteral("zelk.dat"));
    const QString backup = EntryList::backupPath(path);
    writeFile(path, bytes);
    QFile::remove(backup);

    const EntryList::Content read = EntryList::read(path);
    if (!read.read.ok() || read.entries != EntryList::parse(bytes).entries)
        fail("reading the file differs from parsing its bytes");
    QStringList unique = read.entries;
    if (read.entries.size() > EntryList::maxEntries || unique.removeDuplicates() != 0)
        fail("too many or repeated entries");
    for (const QString &entry : read.entries) {
        if (!EntryList::validEntry(entry))
            fail("an invalid entry is shown");
    }
    if (contentOf(path) != bytes || QFile::exists(backup))
        fail("reading changed the file");

    const QString added = QStringLiteral("12,5");
    if (change && !read.entries.contains(added) && read.entries.size() < EntryList::maxEntries) {
        if (!EntryList::add(path, added))
            fail("adding to this list failed");
        const QStringList after = EntryList::load(path);
        if (after != read.entries + QStringList{added})
            fail("a readable entry was lost");
        // What was not read completely is kept as it was.
        if (QFile::exists(backup) == read.complete || (!read.complete && contentOf(backup) != bytes))
            fail("the copy of an incompletely read list is missing or wrong");
    }
    QFile::remove(path);
    QFile::remove(backup);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const QLocale &locale = pickLocale(data[0]);
    // For the files: whether to change them after reading.
    const bool change = data[0] & 1;
    const uint8_t mode = data[1];
    data += 2;
    size -= 2;

    switch (mode % 5) {
    case 0: { // two numbers: what arithmetic undoes must come back exactly
        const QStringList numbers = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size))
                                        .split(QLatin1Char('\n'));
        const auto a = Decimal::parse(numbers.value(0), locale, Decimal::Grouping::Allowed);
        const auto b = Decimal::parse(numbers.value(1), locale, Decimal::Grouping::Allowed);
        if (!a || !b)
            return 0;
        const int places = 30;
        if (((*a + *b) - *b).toText(places, locale) != a->toText(places, locale))
            fail("a + b - b is not a");
        const auto quotient = (*a * *b).dividedBy(*b, 2);
        if (b->isZero() != !quotient || (quotient && quotient->toText(2, locale) != a->toText(2, locale)))
            fail("a x b / b is not a to the cent");
        mustReadBack(a->toText(2, locale), locale);
        break;
    }
    case 1: { // rate and amount texts through both directions
        const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
        const qsizetype split = bytes.indexOf('\n');
        const QString rate = QString::fromUtf8(split < 0 ? bytes : bytes.left(split));
        const QString amount = QString::fromUtf8(split < 0 ? QByteArray() : bytes.mid(split + 1));
        for (const auto &result :
             {VatCalculator::fromNet(rate, amount, locale), VatCalculator::fromGross(rate, amount, locale)}) {
            for (const QString &shown : {result.net, result.vat, result.gross}) {
                if (result.ok() == shown.isEmpty())
                    fail("a result is missing, or a failure shows one");
                mustReadBack(shown, locale);
            }
        }
        break;
    }
    case 2: { // the operating-system description
        if (size < 12)
            return 0;
        quint32 numbers[3];
        std::memcpy(numbers, data, sizeof numbers);
        const QByteArray field(reinterpret_cast<const char *>(data + 12), qsizetype(size - 12));
        if (!OsDescription::describe(numbers[0], numbers[1], numbers[2], field).endsWith(QLatin1Char(')')))
            std::abort();
        break;
    }
    case 3:   // any bytes as the settings file
    case 4: { // any bytes as the entry list
        const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
        if (mode % 5 == 3)
            settingsFile(bytes, change);
        else
            entryListFile(bytes, change);
        break;
    }
    }
    return 0;
}
