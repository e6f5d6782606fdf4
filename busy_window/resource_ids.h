// Resource identifiers shared by halvane.rc and the code that loads the pictures.
#pragma once

#define IDI_HALVANE 1
// Worker frames 0..4 (24-bit bitmaps) and text frames 0..6 (GIF), in frame order.
#define IDR_WORKER_FRAME_FIRST 100
#define IDR_TEXT_FRAME_FIRST 200
#define IDR_CANCEL_PICTURE 300
