#include "audio_format.h"

#include <mmreg.h>
#include <msacm.h>

#include <cstring>
#include <memory>
#include <new>

#include "audio_format_ids.h"

namespace {

constexpr DWORD kShortFormatBytes = 18;  // WAVEFORMATEX with cbSize
constexpr DWORD kPcmFormatBytes = 16;
constexpr char kChooserTitle[] = "Select Audio Format";
constexpr char kTemplateName[] = "#318";
static_assert(IDD_AUDIO_FORMAT == 318, "the template name spells the dialog id");

std::string joined(const char* tagName, const char* formatName) {
  return std::string(" ") + tagName + ": " + formatName;
}

bool tagName(DWORD tag, std::string* name) {
  ACMFORMATTAGDETAILSA details = {};
  details.cbStruct = sizeof details;
  details.dwFormatTag = tag;
  if (acmFormatTagDetailsA(nullptr, &details, ACM_FORMATTAGDETAILSF_FORMATTAG) != MMSYSERR_NOERROR) return false;
  *name = details.szFormatTag;
  return true;
}

bool formatName(const WAVEFORMATEX& format, std::string* name) {
  ACMFORMATDETAILSA details = {};
  details.cbStruct = sizeof details;
  details.dwFormatTag = format.wFormatTag;
  details.pwfx = const_cast<WAVEFORMATEX*>(&format);
  details.cbwfx = format.wFormatTag == WAVE_FORMAT_PCM ? kPcmFormatBytes : kShortFormatBytes + format.cbSize;
  if (acmFormatDetailsA(nullptr, &details, ACM_FORMATDETAILSF_FORMAT) != MMSYSERR_NOERROR) return false;
  *name = details.szFormat;
  return true;
}

struct ZeroedBlock {
  explicit ZeroedBlock(DWORD size) : bytes(new (std::nothrow) BYTE[size]()) {}
  WAVEFORMATEX* format() const { return reinterpret_cast<WAVEFORMATEX*>(bytes.get()); }
  std::unique_ptr<BYTE[]> bytes;
};

}  // namespace

WAVEFORMATEX defaultAudioFormat() {
  WAVEFORMATEX format = {};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 2;
  format.nSamplesPerSec = 44100;
  format.nAvgBytesPerSec = 176400;
  format.nBlockAlign = 4;
  format.wBitsPerSample = 16;
  format.cbSize = 0;
  return format;
}

std::string formatText(const WAVEFORMATEX& format) {
  std::string tag;
  std::string name;
  if (tagName(format.wFormatTag, &tag) && formatName(format, &name)) return joined(tag.c_str(), name.c_str());
  return joined("unknown tag", "unknown format");
}

bool chooseAudioFormat(HWND owner, WAVEFORMATEX* format, std::string* text) {
  DWORD size = 0;
  if (acmMetrics(nullptr, ACM_METRIC_MAX_SIZE_FORMAT, &size) != MMSYSERR_NOERROR) return false;
  if (size < kShortFormatBytes) size = kShortFormatBytes;
  ZeroedBlock edited(size);
  ZeroedBlock pattern(size);
  if (!edited.bytes || !pattern.bytes) return false;
  std::memcpy(edited.format(), format, kShortFormatBytes);
  std::memcpy(pattern.format(), format, kShortFormatBytes);
  pattern.format()->wFormatTag = WAVE_FORMAT_PCM;

  ACMFORMATCHOOSEA choose = {};
  choose.cbStruct = sizeof choose;
  choose.fdwStyle = ACMFORMATCHOOSE_STYLEF_ENABLETEMPLATE | ACMFORMATCHOOSE_STYLEF_INITTOWFXSTRUCT;
  choose.hwndOwner = owner;
  choose.pwfx = edited.format();
  choose.cbwfx = size;
  choose.pszTitle = kChooserTitle;
  choose.fdwEnum = ACM_FORMATENUMF_WFORMATTAG | ACM_FORMATENUMF_HARDWARE | ACM_FORMATENUMF_INPUT;
  choose.pwfxEnum = pattern.format();
  choose.hInstance = GetModuleHandleA(nullptr);
  // The "#318" form names resource 318 too; Wine's chooser reads the name as text.
  choose.pszTemplateName = kTemplateName;
  if (acmFormatChooseA(&choose) != MMSYSERR_NOERROR) return false;

  std::memcpy(format, edited.format(), kShortFormatBytes);
  // The chooser's own name fields are not reliable after it closes: ask the drivers.
  *text = formatText(*format);
  return true;
}
