// The factory hands out the Direct3D classes for K_DIRECTX, before any window too.

#include <gtest/gtest.h>

#include "KGraphicD3D.h"
#include "KQRX.h"
#include "KWindowD3D.h"

namespace {

TEST(Factory, PicturesBeforeAnyWindowAreDirect3D) {
  KGraphic *picture = KQRX::createKGraphic();
  EXPECT_NE(dynamic_cast<KGraphicD3D *>(picture), nullptr);
  delete picture;
}

TEST(Factory, DirectXYieldsTheDirect3DWindowAndPictures) {
  KWindow *window = KQRX::createKWindow(K_DIRECTX, false);
  EXPECT_EQ(KQRX::_renderer, K_DIRECTX);
  EXPECT_NE(dynamic_cast<KWindowD3D *>(window), nullptr);
  KGraphic *picture = KQRX::createKGraphic();
  EXPECT_NE(dynamic_cast<KGraphicD3D *>(picture), nullptr);
  delete picture;
  delete window;
}

} // namespace
