#pragma once

#include "widgets/TileArt.h"

#include <QFont>
#include <QString>

class QPainter;

// The pictures of the main window's toolbar, drawn by the program.
enum class ToolIcon {
    AddData,
    EditClass,
    MyData,
    Print,
    Import,
    Export,
    Backup,
    Config,
    SendMail,
    Zip,
    Format
};

// A toolbar button of `size`: the icon on its coloured tile with the caption under it.
ButtonPictures PaintToolPictures(ToolIcon icon, const QString &caption, const QSize &size,
                                 const QFont &font);

// The banner across the top panel, with the program's title at the left.
void PaintBanner(QPainter &painter, const QRect &rect, const QFont &font);
