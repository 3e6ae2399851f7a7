#include "commands/CommandLine.h"

#include "base/ApplicationInfo.h"
#include "base/ProgramFolder.h"
#include "commands/CommandName.h"
#include "commands/CommandOutcome.h"
#include "commands/CopyRegisterCommand.h"
#include "commands/OldDatabaseCommand.h"
#include "commands/OrdersCsvCommand.h"
#include "commands/PayeeCsvCommand.h"
#include "commands/PaymentCommand.h"
#include "olddata/OldDatabaseChild.h"
#include "registry/SqlCipherConnection.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QStringList>
#include <QTextStream>

#include <cstring>

namespace CommandLine {

namespace {

// The window system's own options, which the window's application takes:
// how many of the arguments from `at` are the window system's (0: none).
int windowSystemArguments(int argc, char **argv, int at)
{
    static const char *const withValue[] = {"platform", "platformpluginpath", "platformtheme", "plugin", "display",
                                            "geometry", "qwindowgeometry", "qwindowtitle", "qwindowicon", "style",
                                            "stylesheet", "session", "name", "title"};
    static const char *const alone[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};
    const char *argument = argv[at];
    if (argument[0] != '-')
        return 0;
    const char *name = argument + (argument[1] == '-' ? 2 : 1);
    for (const char *option : alone) {
        if (std::strcmp(name, option) == 0)
            return 1;
    }
    for (const char *option : withValue) {
        const std::size_t length = std::strlen(option);
        if (std::strncmp(name, option, length) == 0 && name[length] == '=')
            return 1;
        if (std::strcmp(name, option) == 0)
            return at + 1 < argc ? 2 : 0;
    }
    return 0;
}

// Where the user's files are, as --help and --version say it.
QString folderLine()
{
    const ProgramFolder::Choice folder = ProgramFolder::choice();
    return QStringLiteral("%1: %2\n").arg(ProgramFolder::kindName(folder.kind), QDir::toNativeSeparators(folder.path));
}

QString helpText(const QString &command)
{
    return QStringLiteral(
        "Kullanım: %1 [SEÇENEK]\n"
        "\n"
        "Seçeneksiz çalıştırıldığında program penceresi açılır. Aşağıdaki komutlar pencere\n"
        "açmadan çalışır; ayarları, kişileri ve belge kaydını programın dosyalarının\n"
        "klasöründen (Zenparol.ini, Data.dat) alır:\n"
        "%2"
        "\n"
        "  --pdf ÇIKTI.pdf ÖDEME.json         Ödeme emrini PDF dosyasına yazar ve belge\n"
        "                                     kaydına işler.\n"
        "  --print ÖDEME.json [--printer AD]  Ödeme emrini varsayılan yazıcıya ya da adı\n"
        "                                     verilen yazıcıya gönderir ve belge kaydına işler.\n"
        "  --orders-csv ÇIKTI.csv [--from gg.aa.yyyy] [--to gg.aa.yyyy]\n"
        "                                     Düzenlenen belgelerin kaydını CSV dosyasına yazar.\n"
        "  --import-old ESKİ.dat [--other-password]\n"
        "                                     Eski programın veritabanındaki kişileri ekler;\n"
        "                                     beş alanı da aynı olan kişiler atlanır.\n"
        "                                     --other-password: tabloları taşıyan ama başka\n"
        "                                     parolalı (ya da parolasız) bir dosyayı da alır.\n"
        "  --export-payees ÇIKTI.csv [--kind Eczane|Hastane|Tedavi|Ozel]\n"
        "                                     Kişileri CSV dosyasına yazar.\n"
        "  --import-payees GİRDİ.csv --kind TÜR [--skip-bad-rows]\n"
        "                                     CSV dosyasındaki kişileri o türün listesine ekler.\n"
        "  --copy-register-to BAĞLANTI        Kişileri ve belge kaydını, sunucudaki boş bir\n"
        "                                     paylaşılan kayda bir kez aktarır (BAĞLANTI: libpq\n"
        "                                     bağlantı dizesi, örneğin \"service=mirvasel\").\n"
        "  --help                             Bu yardımı gösterir.\n"
        "  --version                          Programın sürümünü gösterir.\n"
        "\n"
        "ÖDEME.json örneği:\n"
        "  {\"kind\": \"Eczane\",\n"
        "   \"payee\": [\"ŞİFA ECZANESİ\", \"12345678901\", \"ZİRAAT ŞİŞLİ ŞUBESİ\", \"TR12 0001\", \"ŞİŞLİ V.D.\"],\n"
        "   \"amounts\": [\"1.000,00\"], \"stamp\": true,\n"
        "   \"attachments\": [{\"count\": 3, \"description\": \"Adet Fatura\"}]}\n"
        "  \"kind\": \"Eczane\", \"Hastane\", \"Tedavi\" (iki tutar) ya da \"Ozel\".\n"
        "\n"
        "Çıkış durumu:\n"
        "  0  tamam\n"
        "  1  yapılamadı (bir dosya okunamadı, yazılamadı ya da gönderilemedi)\n"
        "  2  komut satırı ya da girdi dosyası hatalı (ya da eski veritabanı okunamadı);\n"
        "     hiçbir şey yapılmadı\n"
        "  3  belge çıktı, ancak belge kaydına işlenemedi; ya da (bir aktarma) veritabanı\n"
        "     ya da paylaşılan kayıt yazılamadı ve olduğu gibi kaldı\n"
        "  4  yazıcı belgeyi kabul etmedi\n"
        "  5  program klasöründe yedekleme, sıkıştırma ya da onarım sürüyor\n")
        .arg(command, folderLine());
}

QString versionText(const QString &command)
{
    return QStringLiteral("%1 (%2) %3\n").arg(command, ApplicationInfo::title(), ApplicationInfo::version()) +
           folderLine() + QStringLiteral("SQLCipher %1\n").arg(SqlCipherConnection::engineVersion());
}

int say(FILE *stream, const QString &text, int status)
{
    QTextStream out(stream);
    out << text;
    if (!text.isEmpty() && !text.endsWith(u'\n'))
        out << '\n';
    out.flush();
    return status;
}

// A windowless command: an application without a window system, nothing of
// the toolkit's on standard error, the command's own lines there.
template <typename Application>
int windowless(int argc, char **argv, CommandOutcome (*command)(const QStringList &))
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    Application application(argc, argv);
    const CommandOutcome outcome = command(Application::arguments().mid(1));
    if (!outcome.output.isEmpty())
        say(stdout, outcome.output, outcome.status);
    return say(stderr, outcome.message, outcome.status);
}

CommandOutcome paymentCommand(const QStringList &arguments)
{
    return PaymentCommand::run(arguments);
}

} // namespace

std::optional<int> run(int argc, char **argv)
{
    if (argc < 2)
        return std::nullopt;
    // The program's own executable reads an old database for its parent:
    // before any application object, and never back here.
    if (OldDatabaseChild::requested(argc, argv))
        OldDatabaseChild::run(argc, argv);
    const char *first = argv[1];
    const QString command = CommandName::of(QString::fromLocal8Bit(argv[0]));
    const bool help = std::strcmp(first, "--help") == 0 || std::strcmp(first, "-h") == 0;
    if (help || std::strcmp(first, "--version") == 0) {
        // The executable's folder, for the folder in use: no window system.
        QCoreApplication application(argc, argv);
        return say(stdout, help ? helpText(command) : versionText(command), ExitStatus::kDone);
    }
    if (std::strcmp(first, "--pdf") == 0 || std::strcmp(first, "--print") == 0) {
        // Painting the page needs the font machinery, not a display.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return windowless<QGuiApplication>(argc, argv, paymentCommand);
    }
    if (std::strcmp(first, "--orders-csv") == 0)
        return windowless<QCoreApplication>(argc, argv, OrdersCsvCommand::run);
    if (std::strcmp(first, "--import-old") == 0)
        return windowless<QCoreApplication>(argc, argv, OldDatabaseCommand::run);
    if (std::strcmp(first, "--export-payees") == 0 || std::strcmp(first, "--import-payees") == 0)
        return windowless<QCoreApplication>(argc, argv, PayeeCsvCommand::run);
    if (std::strcmp(first, "--copy-register-to") == 0)
        return windowless<QCoreApplication>(argc, argv, CopyRegisterCommand::run);
    for (int i = 1; i < argc;) {
        if (const int taken = windowSystemArguments(argc, argv, i)) {
            i += taken;
            continue;
        }
        return say(stderr,
                   QStringLiteral("Bilinmeyen seçenek \"%1\". Seçenekler için: %2 --help")
                       .arg(QString::fromLocal8Bit(argv[i]), command),
                   ExitStatus::kBadInput);
    }
    return std::nullopt;
}

} // namespace CommandLine
