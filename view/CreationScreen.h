#pragma once

#include "view/CreationPreview.h"
#include "view/model/CreationSession.h"
#include "view/model/GameMode.h"

#include <QPointer>
#include <QString>

#include <boost/shared_ptr.hpp>

#include <functional>
#include <memory>

class CChildView;
class CCreateImageDialog;
class CCreatePrimaryDialog;
class CGP_Path;
class CGP_Puzzle;
class CLibraryCommands;
class QPainter;
class QWidget;
struct GP_ViewSettings;

// The view's side of making and changing puzzles: the picture file dialog, the "Image" and
// "Cutting" panels over the preview, the name dialog and the messages. The rules are the
// creation session's; the view routes its creation modes and its paint here.
class CCreationScreen
{
public:
    // What the view does for a creation.
    struct Host
    {
        std::function<void(GameMode)> changeMode;
        // The field rectangle the picture is fitted to, in view coordinates.
        std::function<QRect()> fieldRect;
        std::function<void()> repaint;
        std::function<void()> stopWorkers;
        std::function<bool(const QString& name)> nameTaken;
        // A puzzle was written: a new one joins the library selected, a changed one makes the
        // library be read again.
        std::function<void(const boost::shared_ptr<CGP_Puzzle>& puzzle, const QString& file, bool added)> puzzleMade;
        // Sends the puzzle of that name to a friend; without it the name dialog offers no send.
        std::function<void(const QString& name)> sendToFriend;
        // Shows a message by its number; without it the game's message box shows it.
        std::function<void(int message, unsigned flags)> showMessage;
    };

    CCreationScreen(QWidget* view, const CGP_Path* patterns, GP_ViewSettings& settings, Host host);
    // The main view's answers: its modes, field rectangle, repaint and message box.
    static Host ViewHost(CChildView& view);
    ~CCreationScreen();

    // The game's library answers for names, takes the made puzzles and sends them to a friend.
    void AnswerToLibrary(CLibraryCommands& library);

    // The make-your-own-puzzle button: a fresh creation; the view then enters CreateImage.
    void OnMainCreate();
    // CreateImage: the file dialog, then both panels. False when it was cancelled or the
    // picture refused; the view goes back to its library then.
    bool ShowImageStep();
    // The modification of a library puzzle; true when the view is to enter CreateParameters.
    bool OnMainModify(const CGP_Puzzle& selected);
    // CreateParameters: the "Cutting" panel alone.
    void ShowParametersStep();
    // Leaving the creation modes: the panels go.
    void HidePanels();
    // "Back", and the close of the game during a creation: the puzzle being built is dropped.
    void OnCreateBack();

    // The preview, while a picture is being cut.
    void Paint(QPainter& painter, const QRect& field);

    bool IsActive() const { return m_session != nullptr; }
    CCreationSession* Session() const { return m_session.get(); }
    CCreateImageDialog* ImageDialog() const;
    CCreatePrimaryDialog* PrimaryDialog() const;

private:
    // Drops the puzzle being built and its panels.
    void Drop();
    void OnCreateChangePicture();
    void OnCreateMake();
    // The name dialog until its input passes or it is cancelled; 0 when cancelled.
    int MakeWithName();
    void Message(int message, unsigned flags) const;
    void Refresh();
    void PlacePanels();

    QWidget* m_view;
    const CGP_Path* m_patterns;
    GP_ViewSettings& m_settings;
    Host m_host;
    std::unique_ptr<CCreationSession> m_session;
    QPointer<CCreateImageDialog> m_imageDialog;
    QPointer<CCreatePrimaryDialog> m_primaryDialog;
    CCreationPreview m_preview;
    QString m_madeName;
};
