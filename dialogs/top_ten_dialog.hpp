// The top-ten dialog: the ten best scores from the database, the place of a
// score just entered in blue, and a button that clears the list.
#pragma once

#include "engine/mglobal.hpp"
#include "storage/game_db.hpp"

#include <array>

#include <QDialog>

class QLabel;

namespace corvane {

class FTopTen final : public QDialog {
    Q_OBJECT

public:
    // Reads the list at once; g.nTopTenPos (0 to 9) names the place to
    // highlight, any other value none. Questions and failures go to env.msg.
    FTopTen(MGlobal& g, StorageEnv& env, QWidget* pParent = nullptr);

protected:
    void showEvent(QShowEvent* pEvent) override;

private:
    void cmdTopTen_Click(int nIndex);
    void ShowTopTen();
    void ClearLabels();

    MGlobal& g_;
    StorageEnv& env_;
    TopTenList TopTen_{};
    std::array<QLabel*, 10> lblPlayer_{};
    std::array<QLabel*, 10> lblScore_{};
};

} // namespace corvane
