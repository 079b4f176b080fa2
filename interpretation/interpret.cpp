#include "interpretation/interpret.h"

#include <cstdio>
#include <system_error>

#include "interpretation/collect.h"
#include "interpretation/text_request.h"
#include "platform/codepage.h"
#include "platform/file_io.h"
#include "platform/paths.h"

namespace kelvara::interpretation {
namespace {

struct Texts {
  std::vector<std::string> pieces;  // Windows-1251, written in order
  std::vector<std::string> messages;
};

std::filesystem::path TemporaryPath(const InterpretContext& context) {
  return context.temporaryFile.empty() ? platform::MapDevicePath(kTemporaryFile) : context.temporaryFile;
}

// Creating the file for writing is how a viewer still holding it shows.
bool CanCreate(const std::filesystem::path& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  std::fclose(file);
  return true;
}

// The section the user takes, none when the dialog is cancelled or nothing is offered.
std::optional<Section> ChooseSection(std::string_view kindFolder, const InterpretContext& context,
                                     const PickSection& pickSection, std::vector<std::string>& messages) {
  SectionList list = ListSections(context.libraryRoots, kindFolder);
  if (!list.message.empty()) {
    messages.push_back(list.message);
    return std::nullopt;
  }
  if (list.sections.empty()) {
    const auto root = context.libraryRoots.empty() ? std::filesystem::path() : context.libraryRoots.front();
    messages.push_back(std::string(kFileNotFoundMessage) + (root / kindFolder).string());
    return std::nullopt;
  }
  SectionChoice choice(std::move(list.sections));
  if (!choice.ChoosesItself()) {
    const auto index = pickSection ? pickSection(choice) : std::nullopt;
    if (!index) return std::nullopt;
    choice.Select(*index);
    if (choice.Selected() != *index) return std::nullopt;
  }
  return choice.Accept();
}

Texts TextsOfSection(const Section& section, const InterpretContext& context, const KeyInput& keys) {
  if (section.folder.empty()) {
    if (!context.builtInSection) return {};
    auto [pieces, messages] = context.builtInSection();
    return {std::move(pieces), std::move(messages)};
  }
  CollectResult collected = Collect(section, BuildKeySets(keys));
  if (!collected.message.empty()) return {{}, {collected.message}};
  Texts texts;
  for (TextEntry& piece : collected.pieces) texts.pieces.push_back(std::move(piece.text));
  return texts;
}

std::string ShortText(const Section& section, const KeyInput& keys) {
  CollectResult collected = Collect(section, BuildKeySets(keys));
  return platform::Cp1251ToUtf8(ShortHexagramText(collected.pieces, keys.requestKey));
}

void WritePieces(const std::filesystem::path& path, const std::vector<std::string>& pieces,
                 InterpretResult& result) {
  if (!CanCreate(path)) {
    result.messages.emplace_back(kFileBusyMessage);
    return;
  }
  std::string bytes;
  for (const std::string& piece : pieces) bytes += piece;
  std::error_code error;
  if (!platform::WriteFileAtomically(path, bytes, error)) {
    std::filesystem::remove(path, error);
    result.messages.push_back(std::string(platform::kCannotWriteFile) + path.string());
    return;
  }
  result.writtenFile = path;
}

}  // namespace

std::string_view KindFolderOfRequest(std::string_view request, const workspace::WorkspaceState& state) {
  switch (RecogniseRequest(request).kind) {
    case RequestKind::kLunarDay: return kMoonDaysFolder;
    case RequestKind::kDegree: return kDegreesFolder;
    case RequestKind::kIChing:
    case RequestKind::kIChingShort: return kIChingFolder;
    case RequestKind::kChart: break;
  }
  return KindFolderOf(state).folder;
}

InterpretResult Interpret(std::string_view request, const InterpretContext& context, const PickSection& pickSection) {
  InterpretResult result;
  const RecognisedRequest recognised = RecogniseRequest(request);
  KeyInput keys = context.keys;
  keys.requestKey = recognised.key;
  const bool shortText = recognised.kind == RequestKind::kIChingShort;
  const bool iChing = shortText || recognised.kind == RequestKind::kIChing;

  const std::filesystem::path path = TemporaryPath(context);
  if (!shortText) {
    std::error_code ignored;
    if (!CanCreate(path)) return {{std::string(kFileBusyMessage)}, {}, {}, {}};
    std::filesystem::remove(path, ignored);
  }

  // The folder kept from an earlier choice serves while it is there; a vanished one asks again.
  std::optional<Section> section;
  std::error_code noFolder;
  if (shortText && !context.iChingFolder.empty() && std::filesystem::is_directory(context.iChingFolder, noFolder))
    section = Section{{}, context.iChingFolder};
  else
    section = ChooseSection(KindFolderOfRequest(request, *context.keys.state), context, pickSection, result.messages);
  if (!section) return result;
  if (iChing) result.chosenIChingFolder = section->folder;

  if (shortText) {
    result.shortText = ShortText(*section, keys);
    return result;
  }
  Texts texts = TextsOfSection(*section, context, keys);
  result.messages.insert(result.messages.end(), texts.messages.begin(), texts.messages.end());
  if (!texts.pieces.empty()) WritePieces(path, texts.pieces, result);
  return result;
}

}  // namespace kelvara::interpretation
