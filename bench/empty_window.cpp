// An empty Qt window of the main window's size (1000x667), the yardstick of the
// window figures: it reports its first paint on standard error the way the program
// does with VELTRA_REPORT_FIRST_PAINT, then idles until it is ended.
#include <time.h>

#include <QApplication>
#include <QWidget>
#include <iostream>

namespace {

class EmptyWindow : public QWidget {
  public:
    EmptyWindow() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        if (painted) return;
        painted = true;
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::cerr << "first-paint empty " << now.tv_sec * 1'000'000'000LL + now.tv_nsec
                  << std::endl;
    }

  private:
    bool painted = false;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    EmptyWindow window;
    window.setFixedSize(1000, 667);
    window.move(50, 50);
    window.show();
    return application.exec();
}
