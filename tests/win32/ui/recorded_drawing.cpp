#include "recorded_drawing.h"

#include <map>

#include "win32/handles.h"

namespace {

struct Reading {
  // The fonts the metafile creates, by their place in its table of objects.
  std::map<DWORD, LOGFONTW> fonts;
  LOGFONTW selected{};
  std::vector<DrawnText> texts;
};

void ReadText(const EMREXTTEXTOUTW& record, Reading& reading) {
  const EMRTEXT& text = record.emrtext;
  const auto* characters =
      reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(&record) + text.offString);
  reading.texts.push_back({std::wstring(characters, text.nChars),
                           POINT{text.ptlReference.x, text.ptlReference.y}, reading.selected});
}

int CALLBACK ReadRecord(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) {
  Reading& reading = *reinterpret_cast<Reading*>(data);
  switch (record->iType) {
    case EMR_EXTCREATEFONTINDIRECTW: {
      const auto& created = *reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(record);
      reading.fonts[created.ihFont] = created.elfw.elfLogFont;
      break;
    }
    case EMR_SELECTOBJECT: {
      const auto& selected = *reinterpret_cast<const EMRSELECTOBJECT*>(record);
      const auto font = reading.fonts.find(selected.ihObject);
      if (font != reading.fonts.end()) reading.selected = font->second;
      break;
    }
    case EMR_EXTTEXTOUTW:
      ReadText(*reinterpret_cast<const EMREXTTEXTOUTW*>(record), reading);
      break;
    default:
      break;
  }
  return TRUE;
}

}  // namespace

std::vector<DrawnText> ReadDrawnTexts(const std::vector<BYTE>& metafile) {
  const UniqueEnhMetaFile handle(
      ::SetEnhMetaFileBits(static_cast<UINT>(metafile.size()), metafile.data()));
  Reading reading;
  ::EnumEnhMetaFile(nullptr, handle.get(), &ReadRecord, &reading, nullptr);
  return std::move(reading.texts);
}
