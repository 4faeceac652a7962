#pragma once

// What the address print window tells the composition of a face: the writing, the font, the
// face size, the frames the user placed on the preview and the postal data of the data folder.

#include "print/FontSizeOffsets.h"
#include "print/PaperKinds.h"

#include <QSizeF>
#include <QString>

struct FaceSettings {
    QString FaceName; // the font list's entry, "@" in front in vertical writing
    bool Vertical = true;
    bool LabelTab = false;
    bool PrintSender = false; // "差出人を印刷する"
    bool PrintCostom = false; // "カスタマーコードを印刷する"
    // Block numbers of vertical addresses counted (二十一) instead of digit by digit (二一).
    bool CountedNumerals = false;
    QSizeF PaperMm; // the face: the postcard or envelope, or one label
    // Preview picture width / paper width: the pixels per millimetre the frames are
    // converted with (ShapeToDeviceBox).
    double PreviewPixelsPerMm = 0;
    // Height of the preview's background picture; it stands for the paper height when the
    // postal code boxes are placed (FrameOriginMm).
    int PictureHeight = 0;
    FrameSet Frames; // preview pixels
    // The shifts to add to the start sizes: all 0 with "自動設定".
    FontSizeOffsets FontSizes;
    // The postal code file whose towns the customer barcode leaves out (ZipFilePath).
    QString ZipDataPath;
};
