#include "quality_setting.h"

#include <windows.h>

namespace {

const QualitySetting kSettings[] = {
    {L"Low", 0, swf::Quality::Low},       {L"High", 1, swf::Quality::High},     {L"AutoLow", 2, swf::Quality::High},
    {L"AutoHigh", 3, swf::Quality::High}, {L"Medium", 1, swf::Quality::Medium}, {L"Best", 1, swf::Quality::Best},
};

}  // namespace

const QualitySetting* qualityNamed(const wchar_t* name) {
  if (!name) return nullptr;
  for (const QualitySetting& s : kSettings) {
    if (lstrcmpiW(name, s.name) == 0) return &s;
  }
  return nullptr;
}

const QualitySetting* qualityNumbered(int number) {
  for (const QualitySetting& s : kSettings) {
    if (s.number == number) return &s;
  }
  return nullptr;
}

const QualitySetting* defaultQuality() { return &kSettings[1]; }
