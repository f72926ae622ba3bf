// KResource, KObjectListable, KList and KSpline.
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

#include "KList.h"
#include "KResource.h"
#include "KSpline.h"

namespace {

class Resource : public ::testing::Test {
protected:
  void SetUp() override {
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "0123456789", 10), 10);
    close(fd);
  }
  void TearDown() override { unlink(path); }
  char path[32] = "/tmp/zyresXXXXXX";
  KResource res;
};

TEST_F(Resource, OpensReadsSeeksAndTells) {
  ASSERT_EQ(res.open(path, K_RES_READ), K_RES_OK);
  int pos = -1;
  EXPECT_EQ(res.seek(K_RES_END, 0), K_RES_OK);
  EXPECT_EQ(res.tell(pos), K_RES_OK);
  EXPECT_EQ(pos, 10);
  EXPECT_EQ(res.seek(K_RES_END, -3), K_RES_OK);
  EXPECT_EQ(res.tell(pos), K_RES_OK);
  EXPECT_EQ(pos, 7);
  EXPECT_EQ(res.seek(K_RES_BEGIN, 0), K_RES_OK);
  EXPECT_EQ(res.tell(pos), K_RES_OK);
  EXPECT_EQ(pos, 0);
  char buf[4] = {};
  EXPECT_EQ(res.seek(K_RES_CURRENT, 2), K_RES_OK);
  EXPECT_EQ(res.read(buf, 3), K_RES_OK);
  EXPECT_EQ(std::string(buf, 3), "234");
  EXPECT_EQ(res.seek((KResourceWhence)3, 0), K_RES_PARAM);
  EXPECT_EQ(res.tell(pos), K_RES_OK);
  EXPECT_EQ(pos, 5); // a bad whence moves nothing
}

TEST_F(Resource, ShortAndEmptyReadsAreErrorsAndKeepWhatWasRead) {
  ASSERT_EQ(res.open(path, K_RES_READ), K_RES_OK);
  char buf[16] = {};
  EXPECT_EQ(res.read(buf, 0), K_RES_IOERR);
  res.seek(K_RES_BEGIN, 8);
  EXPECT_EQ(res.read(buf, 5), K_RES_IOERR);
  EXPECT_EQ(std::string(buf, 2), "89");
  int pos;
  res.tell(pos);
  EXPECT_EQ(pos, 10);
}

TEST_F(Resource, StateAndParameterErrors) {
  char buf[4];
  int pos = 77;
  EXPECT_EQ(res.read(buf, 1), K_RES_STATE);
  EXPECT_EQ(res.seek(K_RES_BEGIN, 0), K_RES_STATE);
  EXPECT_EQ(res.tell(pos), K_RES_STATE);
  EXPECT_EQ(pos, 77);
  EXPECT_EQ(res.open(path, K_RES_CLOSED), K_RES_PARAM);
  EXPECT_EQ(res.open("/nonexistent/zyphora/file", K_RES_READ), K_RES_NOTFOUND);
  EXPECT_EQ(res._nMode, K_RES_CLOSED);
  ASSERT_EQ(res.open(path, K_RES_READ), K_RES_OK);
  EXPECT_EQ(res.open(path, K_RES_READ), K_RES_STATE);
  res._nMode = (KResourceMode)5; // open, but not for reading
  EXPECT_EQ(res.read(buf, 1), K_RES_MODE);
  res._nMode = K_RES_READ;
  res.close();
  res.close();
  EXPECT_EQ(res._lpFile, nullptr);
  EXPECT_EQ(res._nMode, K_RES_CLOSED);
  EXPECT_EQ(res.openResource(path, &res), K_RES_STATE); // the base opens nothing
}

// An archive whose one member, "member", is bytes 2..6 of a file.
class TestArchive : public KResource {
public:
  explicit TestArchive(const char *file) : _file(file) {}
  KResourceResult openResource(const char *name, KResource *target) override {
    if (std::string(name) != "member") return K_RES_NOTFOUND;
    if (!_shared) _shared = fopen(_file, "rb");
    target->_lpFile = _shared;
    target->_bFileInArchive = true;
    target->_nMode = K_RES_READ;
    target->_nBeginPos = 2;
    target->_nSize = 5;
    return K_RES_OK;
  }
  ~TestArchive() override {
    if (_shared) fclose(_shared);
  }
  const char *_file;
  FILE *_shared = nullptr;
};

TEST_F(Resource, ArchivesAreAskedFirstAndMembersAreOffset) {
  EXPECT_EQ(KResource::_lArchives.getCount(), 0); // none at start
  TestArchive archive(path);
  KResource::_lArchives.addToTail(&archive);
  ASSERT_EQ(res.open("member", K_RES_READ), K_RES_OK);
  int pos;
  res.tell(pos);
  EXPECT_EQ(pos, -2); // the archive did not seek: tell is relative to the member
  res.seek(K_RES_BEGIN, 1);
  char buf[2];
  EXPECT_EQ(res.read(buf, 2), K_RES_OK);
  EXPECT_EQ(std::string(buf, 2), "34");
  res.seek(K_RES_END, 1); // counts back from the member's end
  res.tell(pos);
  EXPECT_EQ(pos, 4);
  res.close(); // the archive's file stays open
  EXPECT_NE(archive._shared, nullptr);
  EXPECT_EQ(res.open(path, K_RES_READ), K_RES_OK); // other names fall through to files
  EXPECT_FALSE(res._bFileInArchive);
  res.close();
  KResource::_lArchives.remove(&archive);
}

struct Node : KObjectListable {};

TEST(List, LinksCircularlyThroughItsSentinel) {
  Node a, b, c; // outlive the list, which unlinks them when it goes
  KList<Node> list;
  EXPECT_EQ(list._lpListNext, &list);
  EXPECT_EQ(list._lpListPred, &list);
  EXPECT_EQ(a._lpListNext, nullptr);
  EXPECT_EQ(a._lpListPred, nullptr);
  list.addToTail(&b);
  list.addToTail(&c);
  list.addToHead(&a);
  EXPECT_EQ(list._nObjects, 3);
  EXPECT_EQ(list.getHead(), &a);
  EXPECT_EQ(list.getNext(&a), &b);
  EXPECT_EQ(list.getNext(&c), nullptr);
  EXPECT_EQ(list._lpListPred, &c);
  EXPECT_EQ(c._lpListNext, &list);
  list.remove(&b);
  EXPECT_EQ(a._lpListNext, &c);
  EXPECT_EQ(c._lpListPred, &a);
  EXPECT_EQ(b._lpListNext, nullptr);
  EXPECT_EQ(list._nObjects, 2);
}

TEST(List, DestructionUnlinksButKeepsTheElements) {
  Node a, b, c;
  a._lpListNext = reinterpret_cast<KObjectListable *>(0x1); // overwritten on linking
  {
    KList<Node> list;
    list.addToTail(&a);
    list.addToTail(&b);
    list.addToTail(&c);
  }
  for (Node *n : {&a, &b, &c}) {
    EXPECT_EQ(n->_lpListNext, nullptr);
    EXPECT_EQ(n->_lpListPred, nullptr);
  }
}

TEST(Spline, EndsAtTheOuterPointsAndIsPulledTowardTheMiddle) {
  KSpline ks;
  KPoint p1{10, 20, 0, 0}, p2{100, 0, 0, 0}, p3{-4, 7, 0, 0};
  KPoint out{0, 0, 3.5, -1.25};
  ks.getPointFromCtrlPoint(&out, &p1, &p2, &p3, 0);
  EXPECT_EQ(out.x, -4);
  EXPECT_EQ(out.y, 7);
  ks.getPointFromCtrlPoint(&out, &p1, &p2, &p3, 1);
  EXPECT_EQ(out.x, 10);
  EXPECT_EQ(out.y, 20);
  EXPECT_EQ(out.coefx, 3.5);
  EXPECT_EQ(out.coefy, -1.25);
  KPoint a{0, 0, 0, 0}, b{100, 0, 0, 0}, c{0, 100, 0, 0};
  ks.getPointFromCtrlPoint(&out, &a, &b, &c, 0.5);
  EXPECT_EQ(out.x, 50);
  EXPECT_EQ(out.y, 25);
  ks.getPointFromCtrlPoint(&out, &a, &b, &c, 2); // extrapolates: 4a - 4b + c
  EXPECT_EQ(out.x, -400);
  EXPECT_EQ(out.y, 100);
}

TEST(Spline, EqualPointsStayPutAndANullResultIsIgnored) {
  KSpline ks;
  KPoint p{12.5, -3, 0, 0}, out{};
  for (double t : {0.0, 0.1, 0.37, 0.5, 0.9, 1.0}) {
    ks.getPointFromCtrlPoint(&out, &p, &p, &p, t);
    EXPECT_DOUBLE_EQ(out.x, 12.5);
    EXPECT_DOUBLE_EQ(out.y, -3);
  }
  KPoint before = p;
  ks.getPointFromCtrlPoint(nullptr, &p, &p, &p, 0.5);
  EXPECT_EQ(p.x, before.x);
}

} // namespace
