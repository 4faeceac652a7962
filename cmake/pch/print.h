// Precompiled for the print engine: Qt Core and Gui with the printer, never a widget.
#include "core.h"
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
