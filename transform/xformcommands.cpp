// SPDX-License-Identifier: GPL-3.0-or-later
// The transform editor's commands, lists and the model's requests of the window.
#include "document/sketchruns.h"
#include "transform/sketchwindow.h"
#include "transform/xformcanvas.h"
#include "transform/xformdrawer.h"
#include "transform/xformwindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>

namespace tessella {

namespace {

const QColor kCurveModeColour(220, 110, 0);

} // namespace

bool XformWindow::writeBack()
{
    chain_.writeBackTile(doc_, windowTile_);
    if (!work_.sketchesChanged)
        return true;
    auto store = [this] {
        return storeSketches(doc_, work_, chain_.firstNode->x, chain_.firstNode->y, doc_.xfReturn);
    };
    StoreResult stored = store();
    if (stored == StoreResult::TableFull) {
        // Runs nothing refers to any more make room, as they do for the pick.
        std::vector<std::vector<Tile> *> snapshots;
        if (callbacks_.sketchSnapshots)
            snapshots = callbacks_.sketchSnapshots();
        if (reclaimSketchRuns(doc_, snapshots, {&windowTile_.sketchStart, &work_.sketchRun}) > 0)
            stored = store();
    }
    if (stored == StoreResult::TableFull) {
        dialogs_.message(kSketchTableFullText);
        return false;
    }
    work_.sketchesChanged = false;
    // A later hand-back without sketch changes carries the run just stored.
    windowTile_.sketchStart = doc_.xfReturn.sketchStart;
    return true;
}

void XformWindow::cmdReturn_Click()
{
    closeSketchTools();
    if (!writeBack())
        return;
    clearWants();
    hide();
    if (callbacks_.handBack)
        callbacks_.handBack(HandBack::Return);
}

bool XformWindow::cmdExit_Click()
{
    closeSketchTools();
    if (doc_.xformOpen) {
        if (dialogs_.askYesNo(
                "if you exit this window you will not be able to continue editing this polygon",
                "Do you want to Exit now?") != Answer::Yes) {
            cancelExit_ = true;
            return false;
        }
        clearWants();
        cancelExit_ = false;
        if (!writeBack())
            return false;
        doc_.xformOpen = false;
        doc_.xfReflected = kFalse;
        hide();
        if (callbacks_.handBack)
            callbacks_.handBack(HandBack::Exit);
    }
    unload();
    return true;
}

void XformWindow::unload()
{
    unloading_ = true;
    loaded_ = false;
    hide();
    if (callbacks_.unloaded)
        callbacks_.unloaded();
}

void XformWindow::closeEvent(QCloseEvent *event)
{
    if (unloading_) {
        event->accept();
        return;
    }
    // The application is ending: no question.
    if (doc_.closing) {
        event->accept();
        unload();
        return;
    }
    // The close box behaves as "exit"; unload() has already run when it was accepted.
    if (cmdExit_Click())
        event->accept();
    else
        event->ignore();
}

void XformWindow::cmdXforms_Click()
{
    lstXforms->setVisible(!lstXforms->isVisible());
    if (lstXforms->isVisible())
        lstXforms->raise();
    if (xforms_.pendClear) {
        xforms_.pendClear = false;
        xforms_.resetColours();
    }
    closeSketchTools();
    doc_.dirty = true;
    picBox->setCursor(Qt::CrossCursor);
    redraw();
}

void XformWindow::cmdViews_Click()
{
    lstViews->setVisible(!lstViews->isVisible());
    if (lstViews->isVisible())
        lstViews->raise();
}

void XformWindow::lstViews_Click()
{
    lblNotice->setVisible(viewSelected(ViewPrompts));
    redraw();
    lstViews->hide();
}

void XformWindow::lstXforms_Click(int index)
{
    if (index < XformNone || index > XformGlide)
        return;
    xforms_.chooseTransformation(index);
    // Reflection and unreflection change the outline.
    showTotal(chain_.countPoints());
}

void XformWindow::cmdCurves_Click()
{
    editor_.cmdCurves();
    redraw();
}

void XformWindow::cmdClear_Click()
{
    editor_.cmdClear();
}

void XformWindow::cmdDoodle_Click()
{
    doc_.dirty = true;
    if (doc_.xfReflected) {
        dialogs_.message("reflected polygons can not be modified");
        return;
    }
    showXformIndex(XformNone);
    xforms_.chooseTransformation(XformNone);
    clearWants();
    if (callbacks_.openSketchTools)
        callbacks_.openSketchTools();
    else
        openSketchPalette();
}

void XformWindow::hscnPoints_Change(int value)
{
    if (!editor_.setSegmentPoints(value)) {
        // Refused (the outline would grow too long): the bar goes back.
        int previous = 2;
        for (Node *v = chain_.firstNode; v && v != chain_.nilNode(); v = v->fLink) {
            if (v->fActive) {
                previous = v->nPoints;
                break;
            }
        }
        showSegmentPoints(previous);
        return;
    }
    txtnPoints->setText(QString("# of line segments = %1").arg(value - 1));
}

void XformWindow::clearWants()
{
    xforms_.clearPending();
    closeSketchTools();
}

void XformWindow::closeSketchTools()
{
    // Closing the palette finishes a curve and drops a line being entered.
    if (frmDoodle)
        frmDoodle->close();
}

SketchWindow *XformWindow::sketchWindow() const
{
    return frmDoodle && frmDoodle->isOpen() ? frmDoodle.data() : nullptr;
}

bool XformWindow::deleteToolOn() const
{
    const SketchWindow *tools = sketchWindow();
    return tools && tools->tools().deleteToolOn;
}

bool XformWindow::curveUnderway() const
{
    const SketchWindow *tools = sketchWindow();
    return tools && tools->tools().curveUnderway;
}

double XformWindow::sketchReach() const
{
    return view_.hitRadius();
}

void XformWindow::focusSurface()
{
    activateWindow();
    picBox->setFocus(Qt::OtherFocusReason);
}

void XformWindow::openSketchPalette()
{
    if (sketchWindow()) {
        frmDoodle->raise();
        return;
    }
    frmDoodle = new SketchWindow(*this, dialogs_, this);
    // Beside the editor's control strip, out of the way of the surface.
    frmDoodle->adjustSize();
    frmDoodle->move(mapToGlobal(QPoint(width() - frmDoodle->width() - 24, 40)));
    frmDoodle->show();
    redraw();
}

void XformWindow::setNotice(const std::string &text)
{
    lblNotice->setText(QString::fromStdString(text));
    lblNotice->adjustSize();
}

void XformWindow::showXformIndex(int index)
{
    const QSignalBlocker blocker(lstXforms);
    lstXforms->setCurrentRow(index);
}

void XformWindow::hideXformList()
{
    lstXforms->hide();
}

void XformWindow::curveModeOn()
{
    QPalette palette = cmdCurves->palette();
    palette.setColor(QPalette::Button, kCurveModeColour);
    cmdCurves->setPalette(palette);
    cmdCurves->setAutoFillBackground(true);
    hscnPoints->show();
    txtnPoints->show();
    if (QListWidgetItem *curves = lstViews->item(ViewCurves))
        curves->setSelected(true);
    showTotal(chain_.countPoints());
}

void XformWindow::curveModeOff()
{
    cmdCurves->setPalette(QPalette());
    cmdCurves->setAutoFillBackground(false);
    hscnPoints->hide();
    txtnPoints->hide();
}

void XformWindow::surfaceResized()
{
    view_.setArea(chain_.surfaceWidth, chain_.surfaceHeight);
    redraw();
}

void XformWindow::showTotal(long points)
{
    txtTotal->setText(QString::number(points) + " points");
}

void XformWindow::showSegmentPoints(int value)
{
    const QSignalBlocker blocker(hscnPoints);
    hscnPoints->setValue(value);
    txtnPoints->setText(QString("# of line segments = %1").arg(hscnPoints->value() - 1));
}

void XformWindow::drawDot(double x, double y, Colour colour, double radius)
{
    drawXformDot(picBox->surface(), x, y, colour, static_cast<int>(radius));
    picBox->update();
}

} // namespace tessella
