// Bitmaps loaded with LoadImageA and an image list's image dragged over a
// window: what the calls keep, since nothing is drawn.
#include "platform/win32/image_list_drag.h"
#include "platform/win32/image_loading.h"
#include "platform/win32/resources.h"
#include "platform/win32/tests/headless_fixture.h"

using testing_support::HeadlessTest;

TEST(ImageLoading, ASystemBitmapComesAsACopyTheCallerDeletes) {
  auto first = static_cast<HBITMAP>(LoadImageA(nullptr, MAKEINTRESOURCEA(OBM_COMBO), IMAGE_BITMAP, 0, 0, LR_LOADTRANSPARENT));
  auto second = static_cast<HBITMAP>(LoadImageA(nullptr, MAKEINTRESOURCEA(OBM_COMBO), IMAGE_BITMAP, 0, 0, 0));
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  BITMAP info{};
  ASSERT_TRUE(GetObjectA(first, sizeof info, &info));
  EXPECT_GT(info.bmWidth, 0);
  EXPECT_TRUE(DeleteObject(first));
  EXPECT_FALSE(GetObjectA(first, sizeof info, &info)) << "gone once deleted";
  EXPECT_TRUE(GetObjectA(second, sizeof info, &info)) << "the other copy stays";
  EXPECT_TRUE(DeleteObject(second));
  EXPECT_TRUE(GetObjectA(LoadBitmapA(nullptr, MAKEINTRESOURCEA(OBM_COMBO)), sizeof info, &info)) << "the system's own stays";

  auto sized = static_cast<HBITMAP>(LoadImageA(nullptr, MAKEINTRESOURCEA(OBM_COMBO), IMAGE_BITMAP, 7, 5, 0));
  ASSERT_TRUE(GetObjectA(sized, sizeof info, &info));
  EXPECT_EQ(info.bmWidth, 7);
  EXPECT_EQ(info.bmHeight, 5);
  DeleteObject(sized);

  EXPECT_EQ(LoadImageA(nullptr, MAKEINTRESOURCEA(12345), IMAGE_BITMAP, 0, 0, 0), nullptr) << "no such bitmap";
  EXPECT_EQ(LoadImageA(nullptr, MAKEINTRESOURCEA(OBM_COMBO), IMAGE_ICON, 0, 0, 0), nullptr) << "bitmaps only";
  EXPECT_EQ(LoadImageA(nullptr, "x.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
}

class ImageDragging : public HeadlessTest {
 protected:
  void TearDown() override {
    ImageList_EndDrag();
    if (list) ImageList_Destroy(list);
    HeadlessTest::TearDown();
  }
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32, 1, 0);
};

TEST_F(ImageDragging, TheDragKeepsItsImageWindowPlaceAndVisibility) {
  HBITMAP image = CreateBitmap(16, 16, 1, 32, nullptr);
  ASSERT_EQ(ImageList_Add(list, image, nullptr), 0);
  DeleteObject(image);
  HWND window = TopLevel();

  EXPECT_FALSE(ImageList_DragEnter(window, 1, 1)) << "no drag yet";
  EXPECT_FALSE(ImageList_BeginDrag(list, 1, 0, 0)) << "the list has one image";
  ASSERT_TRUE(ImageList_BeginDrag(list, 0, 4, 6));
  EXPECT_FALSE(ImageList_BeginDrag(list, 0, 0, 0)) << "one drag at a time";
  ASSERT_TRUE(ImageList_DragEnter(window, 10, 20));
  ImageListDrag drag = ImageList_GetDrag();
  EXPECT_TRUE(drag.dragging);
  EXPECT_EQ(drag.hotSpot.x, 4);
  EXPECT_EQ(drag.hotSpot.y, 6);
  EXPECT_EQ(drag.lock, window);
  EXPECT_TRUE(drag.shown);

  ImageList_DragShowNolock(FALSE);
  ImageList_DragMove(30, 40);
  drag = ImageList_GetDrag();
  EXPECT_FALSE(drag.shown);
  EXPECT_EQ(drag.position.x, 30);
  EXPECT_EQ(drag.moves, 1);
  EXPECT_EQ(drag.lock, window) << "hidden, still locked";

  ImageList_DragLeave(window);
  EXPECT_EQ(ImageList_GetDrag().lock, nullptr);
  ImageList_EndDrag();
  EXPECT_FALSE(ImageList_GetDrag().dragging);
  EXPECT_FALSE(ImageList_DragMove(1, 1));
}
