// What the plug-in declares: its resources, read before its code runs, its
// one export, its capabilities and its file format.
#include <gtest/gtest.h>

#include "plugin_fixture.h"

namespace {

using editor::fourCC;
using editor::Record;

// Names in the module's export directory, read from its image.
std::vector<std::string> exportedNames(HMODULE module) {
  auto* base = reinterpret_cast<BYTE*>(module);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS32*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& d = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  std::vector<std::string> names;
  if (!d.VirtualAddress) return names;
  auto* exports = reinterpret_cast<IMAGE_EXPORT_DIRECTORY*>(base + d.VirtualAddress);
  auto* nameRvas = reinterpret_cast<DWORD*>(base + exports->AddressOfNames);
  for (DWORD i = 0; i < exports->NumberOfNames; ++i) names.push_back(reinterpret_cast<const char*>(base + nameRvas[i]));
  EXPECT_EQ(exports->NumberOfFunctions, exports->NumberOfNames);
  return names;
}

using PluginDeclarationTest = PluginTest;

TEST_F(PluginDeclarationTest, ImptResourceHoldsTheFileType) {
  const editor::PluginDeclaration& d = host_.declaration();
  ASSERT_TRUE(d.hasImpt);
  EXPECT_EQ(d.impt, (std::vector<uint8_t>{0, 0, 0x5F, 0x46, 0x57, 0x53}));
  EXPECT_EQ(d.fileType, fourCC('S', 'W', 'F', '_'));
}

TEST_F(PluginDeclarationTest, PiplListsTheSixPropertiesInOrder) {
  const editor::PluginDeclaration& d = host_.declaration();
  ASSERT_TRUE(d.hasPipl);
  EXPECT_EQ(d.piplVersion, 1);
  EXPECT_EQ(d.piplReserved, 0u);
  ASSERT_EQ(d.properties.size(), 6u);
  const uint32_t keys[] = {uint32_t(fourCC('k', 'i', 'n', 'd')), uint32_t(fourCC('n', 'a', 'm', 'e')),
                           uint32_t(fourCC('e', 'M', 'N', 'A')), uint32_t(fourCC('e', 'P', 'V', 'R')),
                           uint32_t(fourCC('e', 'S', 'V', 'R')), uint32_t(fourCC('e', 'V', 'E', 'R'))};
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(d.properties[i].vendor, uint32_t(fourCC('8', 'B', 'I', 'M'))) << i;
    EXPECT_EQ(d.properties[i].key, keys[i]) << i;
    EXPECT_EQ(d.properties[i].id, 0u) << i;
  }
  EXPECT_EQ(d.properties[0].value(), uint32_t(fourCC('I', 'M', 'P', 'T')));
  for (size_t i : {1u, 2u}) {
    ASSERT_EQ(d.properties[i].data.size(), 32u);
    EXPECT_EQ(d.properties[i].data[0], 27);
    EXPECT_EQ(d.properties[i].pascalText(), "Tessaline Moviquill Plug-in");
  }
  EXPECT_EQ(d.properties[3].value(), 0x00010002u);
  EXPECT_EQ(d.properties[4].value(), 0x00000001u);
  EXPECT_EQ(d.properties[5].value(), 0x00300000u);
}

TEST_F(PluginDeclarationTest, XImportEntryIsTheOnlyExport) {
  EXPECT_EQ(exportedNames(host_.module()), std::vector<std::string>{"xImportEntry"});
}

TEST_F(PluginDeclarationTest, InitDeclaresTheCapabilitiesAndLeavesOtherFieldsAlone) {
  Record info(editor::importInfo::kSize, 0x5A);
  ASSERT_EQ(host_.init(&info), 0);
  const int32_t expected[16] = {0x5A5A5A5A, 1, 0, 0, 0x5A5A5A5A, 0x5A5A5A5A, 0, 0, 0, 1, 0, 1, 1, 0, 0x5A5A5A5A, 0};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(info.int32At(editor::importInfo::field(i)), expected[i]) << "field " << i;
  for (size_t at = 64; at < info.size(); ++at) EXPECT_EQ(info.byte(at), 0x5A) << at;
}

TEST_F(PluginDeclarationTest, FormatZeroIsTheSwfFileAndNoOtherExists) {
  Record format(editor::indFormat::kSize, 0x33);
  ASSERT_EQ(host_.getIndFormat(0, &format), 0);
  EXPECT_EQ(format.int32At(editor::indFormat::kFileType), 0x5357465F);
  EXPECT_EQ(format.int32At(editor::indFormat::kFlags), 0xE008);
  EXPECT_EQ(format.int32At(editor::indFormat::kThird), 0);
  EXPECT_EQ(format.textAt(editor::indFormat::kName, 256), "Tessaline Moviquill Plug-in");
  EXPECT_EQ(format.textAt(editor::indFormat::kShortName, 32), "Flash SWF File");
  EXPECT_EQ(format.textAt(editor::indFormat::kExtension, 256), "swf");
  for (int index : {1, 2, -1}) {
    Record other(editor::indFormat::kSize, 0x33);
    EXPECT_EQ(host_.getIndFormat(index, &other), 301) << index;
    EXPECT_EQ(other.int32At(0), 0x33333333);
  }
}

TEST_F(PluginDeclarationTest, UnsupportedSelectorsAnswer3) {
  for (int32_t selector : {3, 6, 10, 11, 13, 15, 16, 99, 1000, -1})
    EXPECT_EQ(host_.call(selector, 0, 0), 3) << selector;
}

TEST_F(PluginDeclarationTest, OpenAndQuietSetTheRecordsFirstField) {
  Record record(16, 0x77);
  EXPECT_EQ(host_.call(editor::selector::kOpenFile, reinterpret_cast<intptr_t>(record.data()), 0), 0);
  EXPECT_EQ(record.int32At(0), 1);
  EXPECT_EQ(record.byte(4), 0x77);
  EXPECT_EQ(host_.call(editor::selector::kQuietFile, reinterpret_cast<intptr_t>(record.data()), 0), 0);
  EXPECT_EQ(record.int32At(0), 0);
}

TEST(PluginDeclaration, ModuleWithoutTheResourcesIsNoImporter) {
  editor::ImporterHost host;
  std::string error;
  EXPECT_FALSE(host.load(editor::programDirectory() + "preminfo.dll", &error));
  EXPECT_FALSE(host.loaded());
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(host.load(editor::programDirectory() + "no such plug-in.prm", &error));
}

TEST(PluginDeclaration, PiplRunningPastItsEndIsRefused) {
  editor::PluginDeclaration d;
  // Two properties announced, one there: 'kind' = 'IMPT'.
  std::vector<uint8_t> pipl = {1,   0,   0,   0, 0, 0, 2, 0, 0, 0, 'M', 'I', 'B', '8', 'd',
                               'n', 'i', 'k', 0, 0, 0, 0, 4, 0, 0, 0,   'T', 'P', 'M', 'I'};
  EXPECT_FALSE(editor::parsePipl(pipl, &d));
  pipl[6] = 1;
  ASSERT_TRUE(editor::parsePipl(pipl, &d));
  ASSERT_EQ(d.properties.size(), 1u);
  EXPECT_EQ(d.properties[0].value(), uint32_t(fourCC('I', 'M', 'P', 'T')));
  pipl[6 + 4 + 12] = 0xFF;  // a length past the end
  EXPECT_FALSE(editor::parsePipl(pipl, &d));
}

}  // namespace
