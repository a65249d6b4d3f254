// Bitmaps on the clipboard: a DIB goes as its BMP stream ("image/bmp") together with its
// picture, so other programs can paste it; reading takes the BMP stream back, or the picture
// another program put there.
#pragma once

namespace kestrin {
class TKsDIB;
class TKsGraphic;
}  // namespace kestrin

namespace kestrin::app {

// Puts the bitmap on the system clipboard.
void save_to_clipboard(const TKsDIB& dib);

// The graphic's Assign from the clipboard: the data of its clipboard format (for a DIB the
// packed DIB, the BMP stream without its 14-byte file header), or none, handed to its
// LoadFromClipboardFormat. With no DIB there, a TKsDIB raises EInvalidGraphic
// "TKsDIB.LoadFromClipboardFormat: Invalid Clipboard Format or No Data".
void assign_from_clipboard(TKsGraphic& graphic);

}  // namespace kestrin::app
