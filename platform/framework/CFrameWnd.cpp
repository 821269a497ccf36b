#include "platform/framework/CFrameWnd.h"

#include "platform/files/HostPath.h"
#include "platform/framework/AfxRes.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CRecentFileList.h"
#include "platform/framework/CStatusBar.h"
#include "platform/framework/CToolBar.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/FrameResourceTable.h"
#include "platform/framework/LockKeyLights.h"
#include "platform/windows/CView.h"
#include "platform/windows/ResourceTable.h"

#include <QCloseEvent>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QShortcut>
#include <QStatusTipEvent>
#include <QToolBar>

namespace
{
// The text a menu item has in its resource; the item may show another one for a while.
constexpr const char* kItemText = "reelmix.itemText";

// The part of a command's string before its line break: the status bar prompt.
QString PromptOf(UINT id)
{
    const char* text = ResourceTable::FindString(id);
    return text ? QString::fromUtf8(text).section('\n', 0, 0) : QString();
}

Qt::Key KeyOf(WORD virtualKey)
{
    if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9'))
        return Qt::Key(virtualKey);
    if (virtualKey >= 0x70 && virtualKey <= 0x87)
        return Qt::Key(Qt::Key_F1 + (virtualKey - 0x70));
    switch (virtualKey) {
    case VK_BACK:
        return Qt::Key_Backspace;
    case VK_INSERT:
        return Qt::Key_Insert;
    case VK_DELETE:
        return Qt::Key_Delete;
    default:
        return Qt::Key_unknown;
    }
}

QKeySequence SequenceOf(const ACCEL& accel)
{
    int modifiers = 0;
    if (accel.fVirt & FCONTROL)
        modifiers |= Qt::CTRL;
    if (accel.fVirt & FSHIFT)
        modifiers |= Qt::SHIFT;
    if (accel.fVirt & FALT)
        modifiers |= Qt::ALT;
    return QKeySequence(modifiers | KeyOf(accel.key));
}

const char* LedOf(UINT indicator)
{
    switch (indicator) {
    case ID_INDICATOR_CAPS:
        return "capslock";
    case ID_INDICATOR_NUM:
        return "numlock";
    case ID_INDICATOR_SCRL:
        return "scrolllock";
    default:
        return nullptr;
    }
}

CString CurrentDirectory()
{
    CString folder;
    FromHostPath(QDir::currentPath().toStdString(), folder);
    return folder;
}
} // namespace

class CFrameWnd::Window : public QMainWindow
{
public:
    explicit Window(CFrameWnd& owner) : m_owner(&owner) {}
    CFrameWnd* m_owner;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::StatusTip && m_owner) {
            const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
            m_owner->SetMessageText(tip.isEmpty() ? ResourceTable::FindString(AFX_IDS_IDLEMESSAGE)
                                                  : tip.toUtf8().constData());
            return true;
        }
        return QMainWindow::event(event);
    }
    void closeEvent(QCloseEvent* event) override
    {
        event->ignore();
        if (m_owner)
            m_owner->PostClose();
    }
    void showEvent(QShowEvent* event) override
    {
        QMainWindow::showEvent(event);
        if (m_owner)
            m_owner->ApplyMinMaxInfo();
    }
    void dragEnterEvent(QDragEnterEvent* event) override
    {
        if (event->mimeData()->hasUrls())
            event->acceptProposedAction();
    }
    void dropEvent(QDropEvent* event) override
    {
        std::vector<CString> files;
        for (const QUrl& url : event->mimeData()->urls()) {
            CString path;
            if (url.isLocalFile() && FromHostPath(url.toLocalFile().toStdString(), path))
                files.push_back(path);
        }
        event->acceptProposedAction();
        if (m_owner && !files.empty())
            m_owner->OnDropFiles(files);
    }
};

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd()
{
    if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this)
        app->m_pMainWnd = nullptr;
    if (auto* window = static_cast<Window*>(GetSafeHwnd()))
        window->m_owner = nullptr;
    if (m_view && m_view->GetDocument())
        m_view->GetDocument()->RemoveView(m_view.get());
    m_view.reset();
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, CCreateContext* context)
{
    auto window = std::make_unique<Window>(*this);
    m_strTitle = CString(QString::fromUtf8(ResourceTable::FindString(nIDResource))
                             .section('\n', 0, 0)
                             .toStdString());
    window->setWindowTitle(QString::fromUtf8((const char*)m_strTitle));
    window->setWindowIcon(ResourceTable::LoadIcon(nIDResource));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window->resize(screen->availableGeometry().size() * 2 / 3);
    for (const MenuItem& item : FrameResourceTable::FindMenu(nIDResource)) {
        if (item.flags & MF_POPUP)
            BuildMenu(window->menuBar()->addMenu(QString::fromUtf8(item.text)), item.popup);
    }
    CreateOwned(std::move(window));
    LoadAccelTable(nIDResource);
    m_nIDHelp = nIDResource;
    if (OnCreate(context) == -1) {
        DestroyWindow();
        return FALSE;
    }
    ApplyMinMaxInfo();
    return TRUE;
}

void CFrameWnd::BuildMenu(QMenu* menu, std::span<const MenuItem> items)
{
    for (const MenuItem& item : items) {
        if (item.flags & MF_SEPARATOR) {
            menu->addSeparator();
        } else if (item.flags & MF_POPUP) {
            BuildMenu(menu->addMenu(QString::fromUtf8(item.text)), item.popup);
        } else {
            QAction* action = menu->addAction(QString::fromUtf8(item.text));
            const UINT id = item.id;
            action->setData(id);
            action->setProperty(kItemText, action->text());
            action->setStatusTip(PromptOf(id));
            action->setEnabled(!(item.flags & MF_GRAYED));
            QObject::connect(action, &QAction::triggered, [this, id] { OnCommand(id); });
        }
    }
    QObject::connect(menu, &QMenu::aboutToShow, [this, menu] { UpdateMenu(menu); });
}

void CFrameWnd::LoadAccelTable(UINT id)
{
    for (const ACCEL& accel : FrameResourceTable::FindAcceleratorTable(id)) {
        auto* shortcut = new QShortcut(SequenceOf(accel), GetSafeHwnd());
        const UINT command = accel.cmd;
        QObject::connect(shortcut, &QShortcut::activated, [this, command] { OnCommand(command); });
    }
}

void CFrameWnd::UpdateMenu(QMenu* menu)
{
    UpdateRecentFiles(menu);
    for (QAction* action : menu->actions()) {
        const UINT id = action->data().toUInt();
        if (id == 0 || action->menu() || !action->isVisible())
            continue;
        CCmdUI ui(id);
        OnCmdMsg(id, &ui);
        action->setEnabled(ui.m_bEnabled);
        ShowItemText(action, ui.m_strText);
        if (ui.m_nCheck || action->isCheckable()) {
            action->setCheckable(true);
            action->setChecked(ui.m_nCheck != 0);
        }
    }
}

// A resource item shows text when given one, with its own shortcut, else its resource's text.
void CFrameWnd::ShowItemText(QAction* action, const CString& text)
{
    const QVariant item = action->property(kItemText);
    if (!item.isValid())
        return;
    const QString resource = item.toString();
    const qsizetype tab = resource.indexOf('\t');
    action->setText(text.IsEmpty() ? resource
                                   : QString::fromUtf8((const char*)text) +
                                         (tab < 0 ? QString() : resource.mid(tab)));
}

// The "Recent File" item stands in for the list: hidden and replaced by the entries while
// there are any, greyed while there are none.
void CFrameWnd::UpdateRecentFiles(QMenu* menu)
{
    QAction* placeholder = nullptr;
    for (QAction* action : menu->actions()) {
        if (action->data().toUInt() == ID_FILE_MRU_FILE1 && !action->property("mru").toBool())
            placeholder = action;
    }
    if (!placeholder)
        return;
    for (QAction* action : m_recentActions)
        delete action;
    m_recentActions.clear();
    const CWinApp* app = AfxGetApp();
    const CRecentFileList* list = app ? app->GetRecentFileList() : nullptr;
    const CString folder = CurrentDirectory();
    for (int i = 0; list && i < list->GetSize(); ++i) {
        const CString text = list->GetMenuText(i, folder);
        if (text.IsEmpty())
            continue;
        auto* action = new QAction(QString::fromUtf8((const char*)text), menu);
        const UINT id = ID_FILE_MRU_FILE1 + UINT(i);
        action->setData(id);
        action->setProperty("mru", true);
        action->setStatusTip(PromptOf(id));
        QObject::connect(action, &QAction::triggered, [this, id] { OnCommand(id); });
        menu->insertAction(placeholder, action);
        m_recentActions.push_back(action);
    }
    placeholder->setVisible(m_recentActions.empty());
    placeholder->setEnabled(false);
}

void CFrameWnd::SetActiveView(CView* view)
{
    m_pActiveView = view;
    if (view)
        view->m_frame = this;
}

CDocument* CFrameWnd::GetActiveDocument() const
{
    return m_pActiveView ? m_pActiveView->GetDocument() : nullptr;
}

void CFrameWnd::InitialUpdateFrame(CDocument* doc, BOOL makeVisible)
{
    if (m_pActiveView)
        m_pActiveView->OnInitialUpdate();
    OnUpdateFrameTitle(doc != nullptr);
    QWidget* window = GetSafeHwnd();
    if (makeVisible && window && window->isVisible())
        window->activateWindow();
}

void CFrameWnd::OnUpdateFrameTitle(BOOL addToTitle)
{
    CDocument* doc = GetActiveDocument();
    const CString title = addToTitle && doc ? doc->GetTitle() + " - " + m_strTitle : m_strTitle;
    SetWindowText(title);
}

void CFrameWnd::EnableDocking(DWORD style)
{
    m_dwDockStyle = style & CBRS_ALIGN_ANY;
}

// The bar goes to the first side, top, bottom, left, right, that both it and the frame allow.
void CFrameWnd::DockControlBar(CToolBar* bar)
{
    auto* window = static_cast<QMainWindow*>(GetSafeHwnd());
    auto* toolBar = bar ? qobject_cast<QToolBar*>(bar->GetSafeHwnd()) : nullptr;
    if (!window || !toolBar)
        return;
    const DWORD allowed = m_dwDockStyle & bar->GetDockingStyle();
    const std::pair<DWORD, Qt::ToolBarArea> sides[] = {{CBRS_ALIGN_TOP, Qt::TopToolBarArea},
                                                       {CBRS_ALIGN_BOTTOM, Qt::BottomToolBarArea},
                                                       {CBRS_ALIGN_LEFT, Qt::LeftToolBarArea},
                                                       {CBRS_ALIGN_RIGHT, Qt::RightToolBarArea}};
    for (const auto& [side, area] : sides) {
        if (allowed & side) {
            window->addToolBar(area, toolBar);
            return;
        }
    }
    window->addToolBar(Qt::TopToolBarArea, toolBar);
    toolBar->setMovable(false);
}

void CFrameWnd::DragAcceptFiles(BOOL accept)
{
    if (QWidget* window = GetSafeHwnd())
        window->setAcceptDrops(accept);
}

void CFrameWnd::AddControlBar(UINT id, CWnd* bar)
{
    m_bars.emplace_back(id, bar);
}

CWnd* CFrameWnd::GetControlBar(UINT id) const
{
    for (const auto& [barId, bar] : m_bars) {
        if (barId == id && bar->GetSafeHwnd())
            return bar;
    }
    return nullptr;
}

void CFrameWnd::SetMessageText(LPCTSTR text)
{
    if (auto* bar = dynamic_cast<CStatusBar*>(GetControlBar(AFX_IDW_STATUS_BAR)))
        bar->SetPaneText(0, text);
}

BOOL CFrameWnd::OnBarCheck(UINT id, CCmdUI* ui)
{
    CWnd* bar = GetControlBar(id);
    if (!bar)
        return FALSE;
    QWidget* widget = bar->GetSafeHwnd();
    if (ui) {
        ui->Enable();
        ui->SetCheck(!widget->isHidden());
        ui->m_bHandled = TRUE;
    } else {
        widget->setHidden(!widget->isHidden());
    }
    return TRUE;
}

BOOL CFrameWnd::OnCmdMsg(UINT id, CCmdUI* ui)
{
    if (id == ID_VIEW_TOOLBAR || id == ID_VIEW_STATUS_BAR)
        return OnBarCheck(id, ui);
    if (const char* led = LedOf(id)) {
        if (ui) {
            ui->Enable(LockKeyLights::IsOn(led));
            ui->m_bHandled = TRUE;
        }
        return TRUE;
    }
    if (m_pActiveView && m_pActiveView->OnCmdMsg(id, ui))
        return TRUE;
    if (CDocument* doc = GetActiveDocument(); doc && doc->OnCmdMsg(id, ui))
        return TRUE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(id, ui);
}

BOOL CFrameWnd::OnCommand(UINT id)
{
    CCmdUI ui(id);
    if (!OnCmdMsg(id, &ui) || !ui.m_bEnabled)
        return FALSE;
    return OnCmdMsg(id, nullptr);
}

void CFrameWnd::OnIdleUpdateCmdUI()
{
    for (const auto& [id, bar] : m_bars) {
        if (!bar->GetSafeHwnd())
            continue;
        if (auto* toolBar = dynamic_cast<CToolBar*>(bar))
            toolBar->OnUpdateCmdUI(this);
        else if (auto* statusBar = dynamic_cast<CStatusBar*>(bar))
            statusBar->OnUpdateCmdUI(this);
    }
}

void CFrameWnd::PostClose()
{
    QPointer<QWidget> window = GetSafeHwnd();
    QMetaObject::invokeMethod(
        qApp,
        [this, window] {
            if (window)
                OnClose();
        },
        Qt::QueuedConnection);
}

int CFrameWnd::OnCreate(CCreateContext* context)
{
    return OnCreateClient(context) ? 0 : -1;
}

BOOL CFrameWnd::OnCreateClient(CCreateContext* context)
{
    if (!context || !context->m_pNewViewClass)
        return TRUE;
    std::unique_ptr<CView> view = context->m_pNewViewClass();
    if (!view || !view->Create(this))
        return FALSE;
    auto* viewWnd = dynamic_cast<CWnd*>(view.get());
    if (!viewWnd || !viewWnd->GetSafeHwnd())
        return FALSE;
    static_cast<QMainWindow*>(GetSafeHwnd())->setCentralWidget(viewWnd->GetSafeHwnd());
    if (context->m_pCurrentDoc)
        context->m_pCurrentDoc->AddView(view.get());
    m_view = std::move(view);
    SetActiveView(m_view.get());
    return TRUE;
}

void CFrameWnd::OnClose()
{
    CDocument* doc = GetActiveDocument();
    if (doc && !doc->CanCloseFrame(this))
        return;
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        app->CloseAllDocuments(FALSE);
        if (!GetSafeHwnd())
            return;
    }
    DestroyWindow();
}

void CFrameWnd::OnGetMinMaxInfo(MINMAXINFO*) {}

void CFrameWnd::ApplyMinMaxInfo()
{
    QWidget* window = GetSafeHwnd();
    if (!window)
        return;
    const QSize frame = window->frameGeometry().size() - window->geometry().size();
    MINMAXINFO info{};
    OnGetMinMaxInfo(&info);
    window->setMinimumSize(std::max(0, int(info.ptMinTrackSize.x) - frame.width()),
                           std::max(0, int(info.ptMinTrackSize.y) - frame.height()));
}

void CFrameWnd::OnDropFiles(const std::vector<CString>& files)
{
    if (QWidget* window = GetSafeHwnd())
        window->activateWindow();
    CWinApp* app = AfxGetApp();
    for (const CString& file : files) {
        if (app)
            app->OpenDocumentFile(file);
    }
}

void CFrameWnd::OnDestroy()
{
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        PostQuitMessage(0);
    }
}
