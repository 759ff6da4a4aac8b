#pragma once
#include <QMainWindow>
#include <map>
#include <memory>
#include <vector>

#include "viewer/HelpLibrary.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPrinter;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QWebEngineProfile;
class QWebEngineView;

// The compiled-help viewer's window: contents, keyword index and full-text search beside a
// page view that reads the help in memory. The window only binds widgets; the library holds
// the help.
namespace tarnbook::shell {

class ViewerPage;

class ViewerWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit ViewerWindow(std::unique_ptr<viewer::HelpLibrary> library, QWidget* parent = nullptr);
    ~ViewerWindow() override;

    void showTarget(const viewer::HelpTarget& target);
    void showHome();
    void showIndexTab();  // the keyword index with its type-ahead field focused
    // Runs a full-text search as the search tab does; returns the number of pages found.
    int search(const QString& query);

    viewer::HelpLibrary& library() { return *library_; }
    QWebEngineView* view() const { return view_; }
    QTreeWidget* contentsTree() const { return contents_; }
    QListWidget* indexList() const { return index_; }
    QListWidget* searchResults() const { return results_; }
    QLineEdit* keywordField() const { return keyword_; }

  private:
    void buildToolbar();
    QWidget* buildContentsTab();
    QWidget* buildIndexTab();
    QWidget* buildSearchTab();
    void addContents(const std::vector<viewer::ContentsItem>& items, QTreeWidgetItem* parent);
    void applyWindowGeometry();
    void showContentsItem(QTreeWidgetItem* item);
    void showIndexItem(QListWidgetItem* item);
    void typeAhead(const QString& text);
    void followUrl(const QUrl& url);
    void print();
    int remember(const viewer::HelpTarget& target);

    std::unique_ptr<viewer::HelpLibrary> library_;
    QWebEngineProfile* profile_ = nullptr;
    ViewerPage* page_ = nullptr;
    QWebEngineView* view_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QTreeWidget* contents_ = nullptr;
    QLineEdit* keyword_ = nullptr;
    QListWidget* index_ = nullptr;
    QLineEdit* query_ = nullptr;
    QListWidget* results_ = nullptr;
    QLabel* resultCount_ = nullptr;
    std::vector<viewer::HelpTarget> targets_;  // item data indexes into this
    std::vector<std::string> externalUrls_;    // contents entries that name web pages
    std::map<std::pair<std::size_t, std::string>, QTreeWidgetItem*> itemOfPage_;
    std::unique_ptr<QPrinter> printer_;  // while a page is being printed
};

}  // namespace tarnbook::shell
