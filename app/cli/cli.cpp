#include "app/cli/cli.h"

#include "app/about.h"
#include "app/messages.h"
#include "engine/ephemeris/ephemeris_check.h"

#include <map>

namespace kelvara::cli {
namespace {

const std::map<std::string, Subcommand>& Subcommands() {
  static const std::map<std::string, Subcommand> table = {
      {"aspects", RunAspectsCommand},
      {"calendar", RunCalendarCommand},
      {"chains", RunChainsCommand},
      {"chart", RunChartCommand},
      {"events", RunEventsCommand},
      {"place", RunPlaceCommand},
      {"text", RunTextCommand},
#ifdef KELVARA_CLI_RENDER
      {"render", RunRenderCommand},
#endif
  };
  return table;
}

bool AsksForHelp(const std::string& arg) { return arg == "--help" || arg == "-h"; }
bool AsksForVersion(const std::string& arg) { return arg == "--version"; }

void PrintUsage(std::ostream& to) {
  to << "Использование: kelvara-cli КОМАНДА [ПАРАМЕТРЫ]\n"
        "  --help, -h\n"
        "      эта справка\n"
        "  --version\n"
        "      версия программы, источники ее данных и лицензии\n"
        "  place НАЗВАНИЕ [--at \"ДД.ММ.ГГГГ ЧЧ:ММ\"] [--utc]\n"
        "      населенные пункты, чье название равно НАЗВАНИЮ или начинается с него:\n"
        "      название,широта,долгота,смещение от Гринвича (часы) на указанный момент\n"
        "  chart --name ИМЯ --date ДД.ММ.ГГГГ --time ЧЧ:ММ[:СС] (--gmt +ЧЧ:ММ | --place НАЗВАНИЕ)\n"
        "        [--lat 55n45 --lon 037e37] [--house N] [--kind 50-59 --target ДД.ММ.ГГГГ\n"
        "        [--target-time ЧЧ:ММ]] [--composite | --midpoint --name2 ... --lon2]\n"
        "        [--format text|csv] [--save ФАЙЛ.kvd]\n"
        "  chart --open ФАЙЛ.kvd [--kind ...] [--format text|csv] [--save ФАЙЛ.kvd]\n"
        "      карта, рассчитанная на момент и место; --save записывает ее документом,\n"
        "      --open строит карту по документу\n"
        "  events ПАРАМЕТРЫ_РОЖДЕНИЯ | --open ФАЙЛ.kvd\n"
        "         (--day ДД.ММ.ГГГГ [--steps 0-7] | --from ДД.ММ.ГГГГ --to ДД.ММ.ГГГГ\n"
        "         [--method tr|pr|dr|bg]) [--place НАЗВАНИЕ] [--format text|csv]\n"
        "      аспекты к карте; ПАРАМЕТРЫ_РОЖДЕНИЯ - те же, что у chart, без --kind и второго\n"
        "      человека; --day - списки карты событий за день: точные аспекты, затем аспекты\n"
        "      в силе (--steps - шагов в сутки 1, 2, 3, 4, 6, 8, 12, 24 по номеру 0-7,\n"
        "      по умолчанию 7); --from и --to - события, захватывающие дни с --from по --to,\n"
        "      по времени кульминации: транзиты (tr, по умолчанию), прогрессии (pr),\n"
        "      дирекции (dr), транзитный фон (bg); время и дни - местные для --place\n"
        "      (с данными рождения это и место рождения), иначе UTC; строка: точный аспект,\n"
        "      вход в орбис, выход (- если не найден), движущаяся точка, аспект, точка карты,\n"
        "      их долготы; csv: exact,entry,exit,moving,aspect_deg,base,moving_lon,base_lon\n"
#ifdef KELVARA_CLI_RENDER
        "  render ПАРАМЕТРЫ_КАРТЫ [--avesta] [--from-aries] [--sort] [--degrees] [--iching]\n"
        "         [--format png|svg|pdf] [--size N] --out ФАЙЛ\n"
        "      колесо карты в файл рисунка; ПАРАМЕТРЫ_КАРТЫ - те же, что у chart, кроме\n"
        "      --format и --save; с --kind или с данными второго человека (--name2 ...) без\n"
        "      --composite и --midpoint вторая карта рисуется вокруг первой; --house -1 - без\n"
        "      домов; --size - сторона квадрата в пикселях (100-8000, по умолчанию 800);\n"
        "      формат по умолчанию - по расширению ФАЙЛА, иначе png\n"
#endif
        ;
  to << ChainsUsage();
  to << AspectsUsage();
  to << TextUsage();
  to << CalendarUsage();
}

}  // namespace

std::string CityBaseFailure(const places::CityBaseLoad& load, const std::filesystem::path& file) {
  if (load.status == places::CityBaseStatus::kMissing) return "нет базы городов " + file.string();
  return load.message;
}

int RunCli(const std::vector<std::string>& args, const CliContext& context, std::ostream& out,
           std::ostream& err) {
  if (args.empty()) {
    PrintUsage(err);
    return kExitUsage;
  }
  if (AsksForHelp(args.front())) {
    PrintUsage(out);
    return kExitOk;
  }
  if (AsksForVersion(args.front())) {
    out << app::AboutText() << "\n";
    return kExitOk;
  }
  const auto found = Subcommands().find(args.front());
  if (found == Subcommands().end()) {
    err << "kelvara-cli: неизвестная команда \"" << args.front() << "\"\n";
    PrintUsage(err);
    return kExitUsage;
  }
  const int status = found->second(std::vector<std::string>(args.begin() + 1, args.end()), context, out, err);
  // Charts drawn without a refused file are still charts, from the element model: say so.
  for (const std::string& name : engine::TakeDamagedEphemerisFiles()) {
    err << "kelvara-cli: " << app::kEphemerisDamaged << name << "\n";
  }
  return status;
}

}  // namespace kelvara::cli
