// The owners of COM references, BSTRs, temporary files and compressor records.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>

#include "bstr_text.h"
#include "com_reference.h"
#include "compressor_record.h"
#include "temporary_file.h"
#include "test_files.h"

namespace {

// A COM object in the C form that counts its releases and can look at the
// owner that releases it.
struct FakeObject {
  IUnknown IUnknown_iface;
  LONG refs;
  LONG releases;
  const ComReference<IUnknown>* watchedOwner;
  bool ownerHeldItDuringRelease;
};

FakeObject* fakeFrom(IUnknown* iface) { return CONTAINING_RECORD(iface, FakeObject, IUnknown_iface); }

HRESULT STDMETHODCALLTYPE fakeQueryInterface(IUnknown*, REFIID, void** out) {
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE fakeAddRef(IUnknown* iface) { return ++fakeFrom(iface)->refs; }

ULONG STDMETHODCALLTYPE fakeRelease(IUnknown* iface) {
  FakeObject* fake = fakeFrom(iface);
  ++fake->releases;
  if (fake->watchedOwner && fake->watchedOwner->get()) fake->ownerHeldItDuringRelease = true;
  return --fake->refs;
}

IUnknownVtbl fakeVtbl = {fakeQueryInterface, fakeAddRef, fakeRelease};

struct Fake {
  FakeObject object{{&fakeVtbl}, 1, 0, nullptr, false};
  IUnknown* iface() { return &object.IUnknown_iface; }
};

TEST(ComReference, ReleasesTheReferenceItTookOnceWhenItGoes) {
  Fake fake;
  {
    ComReference<IUnknown> owner(fake.iface());
    EXPECT_EQ(fake.iface(), owner.get());
    EXPECT_EQ(0, fake.object.releases);
  }
  EXPECT_EQ(1, fake.object.releases);
  EXPECT_EQ(0, fake.object.refs);
}

TEST(ComReference, ResetClearsTheOwnerBeforeTheRelease) {
  Fake fake;
  ComReference<IUnknown> owner(fake.iface());
  fake.object.watchedOwner = &owner;
  owner.reset();
  EXPECT_EQ(1, fake.object.releases);
  EXPECT_FALSE(fake.object.ownerHeldItDuringRelease);
  EXPECT_FALSE(owner);
  owner.reset();
  EXPECT_EQ(1, fake.object.releases);
}

TEST(ComReference, MovesHandTheReferenceOverWithoutARelease) {
  Fake first, second;
  ComReference<IUnknown> a(first.iface());
  ComReference<IUnknown> b(std::move(a));
  EXPECT_FALSE(a);
  EXPECT_EQ(first.iface(), b.get());
  EXPECT_EQ(0, first.object.releases);

  ComReference<IUnknown> c(second.iface());
  c = std::move(b);  // the reference c held goes, the moved one stays
  EXPECT_EQ(1, second.object.releases);
  EXPECT_EQ(0, first.object.releases);
  EXPECT_EQ(first.iface(), c.get());
  c = std::move(c);
  EXPECT_EQ(first.iface(), c.get());
  EXPECT_EQ(0, first.object.releases);
}

TEST(ComReference, ReleaseHandsTheReferenceToTheCaller) {
  Fake fake;
  IUnknown* handed = nullptr;
  {
    ComReference<IUnknown> owner(fake.iface());
    handed = owner.release();
  }
  EXPECT_EQ(fake.iface(), handed);
  EXPECT_EQ(0, fake.object.releases);
}

TEST(ComReference, ReceivingANewReferenceReleasesTheOldOne) {
  Fake old, fresh;
  ComReference<IUnknown> owner(old.iface());
  *owner.out() = fresh.iface();
  EXPECT_EQ(1, old.object.releases);
  EXPECT_EQ(fresh.iface(), owner.get());
  EXPECT_EQ(nullptr, *owner.receive());
  EXPECT_EQ(1, fresh.object.releases);
}

TEST(BstrText, ConvertsTheProgramsTextAndMovesItsString) {
  BstrText path("C:\\movies\\a b.swf");
  ASSERT_NE(nullptr, path.get());
  EXPECT_EQ(std::wstring(L"C:\\movies\\a b.swf"), std::wstring(path.get()));
  EXPECT_EQ(17u, SysStringLen(path.get()));

  const BSTR held = path.get();
  BstrText moved(std::move(path));
  EXPECT_EQ(nullptr, path.get());
  EXPECT_EQ(held, moved.get());

  BstrText other(L"/");
  other = std::move(moved);
  EXPECT_EQ(held, other.get());
  EXPECT_EQ(nullptr, moved.get());
}

TEST(BstrText, EmptyTextIsAnEmptyStringNotNull) {
  BstrText empty("");
  ASSERT_NE(nullptr, empty.get());
  EXPECT_EQ(0u, SysStringLen(empty.get()));
  EXPECT_EQ(nullptr, BstrText().get());
}

TEST(TemporaryFile, DeletesItsFileWhenItGoes) {
  mvqtest::TempDir dir;
  const std::string path = dir.write("a.tmp", {1, 2, 3});
  {
    TemporaryFile file(path.c_str());
    EXPECT_EQ(path, file.path());
    EXPECT_TRUE(mvqtest::fileExists(path));
  }
  EXPECT_FALSE(mvqtest::fileExists(path));
}

TEST(TemporaryFile, RemoveLeavesNothingHeld) {
  mvqtest::TempDir dir;
  const std::string path = dir.write("a.tmp", {1});
  TemporaryFile file(path.c_str());
  file.remove();
  EXPECT_FALSE(mvqtest::fileExists(path));
  EXPECT_FALSE(file.holds());
  EXPECT_STREQ("", file.path());
  // A new file of the same name is no longer the owner's.
  dir.write("a.tmp", {2});
  file.remove();
  EXPECT_TRUE(mvqtest::fileExists(path));
}

TEST(TemporaryFile, AMovedFileStaysAndTheReplacedOneGoes) {
  mvqtest::TempDir dir;
  const std::string kept = dir.write("kept.tmp", {1});
  const std::string replaced = dir.write("replaced.tmp", {2});
  TemporaryFile target(replaced.c_str());
  {
    TemporaryFile source(kept.c_str());
    target = std::move(source);
    EXPECT_FALSE(source.holds());
  }
  EXPECT_TRUE(mvqtest::fileExists(kept));
  EXPECT_FALSE(mvqtest::fileExists(replaced));
  EXPECT_EQ(kept, target.path());

  TemporaryFile last(std::move(target));
  EXPECT_FALSE(target.holds());
  EXPECT_EQ(kept, last.path());
}

TEST(TemporaryFile, APathTooLongIsNotTaken) {
  const std::string tooLong(MAX_PATH, 'a');
  TemporaryFile file(tooLong.c_str());
  EXPECT_FALSE(file.holds());
}

// ICGetInfo answers with the bytes it filled in, or an error for a closed handle.
bool compressorOpen(HIC compressor) {
  ICINFO info = {};
  info.dwSize = sizeof info;
  return ICGetInfo(compressor, &info, sizeof info) > 0;
}

COMPVARS* recordWithCompressor() {
  auto* record = static_cast<COMPVARS*>(std::calloc(1, sizeof(COMPVARS)));
  record->cbSize = sizeof(COMPVARS);
  record->dwFlags = ICMF_COMPVARS_VALID;
  record->hic = ICOpen(ICTYPE_VIDEO, mmioFOURCC('M', 'R', 'L', 'E'), ICMODE_COMPRESS);
  return record;
}

TEST(CompressorRecord, ClosesItsCompressorWhenItGoes) {
  COMPVARS* record = recordWithCompressor();
  const HIC compressor = record->hic;
  if (!compressor) {
    freeCompressorRecord(record);
    GTEST_SKIP() << "no MS-RLE compressor here";
  }
  ASSERT_TRUE(compressorOpen(compressor));
  {
    CompressorRecord owner(record);
    CompressorRecord moved(std::move(owner));
    EXPECT_EQ(nullptr, owner.get());
    EXPECT_EQ(record, moved.get());
    EXPECT_TRUE(compressorOpen(compressor));
  }
  EXPECT_FALSE(compressorOpen(compressor));
}

TEST(CompressorRecord, ReplacingARecordFreesTheOldOne) {
  COMPVARS* first = recordWithCompressor();
  const HIC compressor = first->hic;
  if (!compressor) {
    freeCompressorRecord(first);
    GTEST_SKIP() << "no MS-RLE compressor here";
  }
  CompressorRecord owner(first);
  owner = CompressorRecord(static_cast<COMPVARS*>(std::calloc(1, sizeof(COMPVARS))));
  EXPECT_FALSE(compressorOpen(compressor));
  EXPECT_NE(nullptr, owner.get());
  freeCompressorRecord(nullptr);
}

}  // namespace
