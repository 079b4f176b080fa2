// Writes the seed corpus of the harnesses whose files come from our own encoders, into
// fuzz/corpus/<harness>/: a valid file and a few near it. The text-like seeds (archive,
// engine vector) and the ephemeris file (data/1.st) are kept by hand.
//
//   make_seeds <corpus folder> <data folder>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "app/chart_document.h"
#include "app/dignity_tables.h"
#include "app/object_settings.h"
#include "places/city_base.h"
#include "places/place_files.h"
#include "workspace/aspect_tables.h"

namespace {

namespace fs = std::filesystem;
using namespace kelvara;

constexpr int kCitySeedCount = 3;

void Write(const fs::path& folder, const std::string& name, const std::string& bytes) {
  fs::create_directories(folder);
  std::ofstream(folder / name, std::ios::binary | std::ios::trunc) << bytes;
}

// A file and its first half: the reader's refusal of a cut file is worth a start too.
void WriteWithHalf(const fs::path& folder, const std::string& name, const std::string& bytes) {
  Write(folder, name, bytes);
  Write(folder, name + "_half", bytes.substr(0, bytes.size() / 2));
}

app::ChartDocument MoscowDocument() {
  app::ChartDocument document;
  document.local = {1985, 7, 12, 14, 5, 0};
  document.name = "Иван";
  document.placeName = "Москва";
  document.gmtOffsetHours = 3.0;
  document.latitudeDeg = 55.75;
  document.longitudeDeg = 37.58;
  document.note = "заметка";
  return document;
}

places::PlacesList SomePlaces() {
  places::PlacesList list;
  list.places = {{"Москва", 37.61556, 55.75222}, {"Минск", 27.56667, 53.9}, {"Sydney", 151.2, -33.87}};
  return list;
}

std::string PlaceFileBytes(const fs::path& scratch, const std::string& name) {
  const fs::path file = scratch / name;
  places::SavePlaces(file, SomePlaces(), {});
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The first cities of the program's own base, written again by the base's encoder.
std::string FirstCities(const fs::path& data) {
  places::CityBase base;
  places::LoadCityBase(data / places::kCityBaseFileName, base);
  std::string bytes;
  for (int i = 0; i < kCitySeedCount && i < static_cast<int>(base.cities.size()); ++i) {
    places::AppendCityRecord(base.cities[i], bytes);
  }
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make_seeds <corpus folder> <data folder>\n";
    return 2;
  }
  const fs::path corpus = argv[1];
  const fs::path data = argv[2];
  const fs::path scratch = fs::temp_directory_path() / "kelvara_seeds";
  fs::create_directories(scratch);

  WriteWithHalf(corpus / "chart_document", "moscow.kvd", app::EncodeChartDocument(MoscowDocument()));
  Write(corpus / "aspect_table", "asp1", workspace::EncodeAspectTable(workspace::DefaultSingleChartAspects()));
  WriteWithHalf(corpus / "aspect_table", "asp2", workspace::EncodeAspectTable(workspace::DefaultTwoChartAspects()));
  Write(corpus / "dignity_tables", "western",
        app::EncodeDignityTables(app::DefaultDignityTables(app::Tradition::kWestern)));
  WriteWithHalf(corpus / "dignity_tables", "avestan",
                app::EncodeDignityTables(app::DefaultDignityTables(app::Tradition::kAvestan)));
  WriteWithHalf(corpus / "object_settings", "pl1", app::EncodeObjectSettings(app::ChartObjectSettings{}));
  WriteWithHalf(corpus / "place_text", "places.txt", PlaceFileBytes(scratch, "places.txt"));
  WriteWithHalf(corpus / "place_binary", "places.bin", PlaceFileBytes(scratch, "places.bin"));
  WriteWithHalf(corpus / "city_base", "first_cities", FirstCities(data));
  fs::remove_all(scratch);
  return 0;
}
