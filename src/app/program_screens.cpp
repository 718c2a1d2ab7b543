#include "app/program_screens.h"

namespace sdelka {

ProgramScreens::ProgramScreens(TDataModule6& dm, TForm1& reg)
    : workerEditor(dm), productEditor(dm), products(dm, productEditor), operationEditor(dm),
      norms(dm), operations(dm, operationEditor, norms, sharedWriter), workers(dm, workerEditor),
      typeEditor(dm), types(dm, typeEditor), positionEditor(dm, workers, operations, hoursDialog),
      groupEditor(dm), groups(dm, groupEditor), groupChooser(dm),
      distribution(dm, workers, groupChooser) {
    operationEditor.pickProduct = [this] { return products.pick(); };
    operationEditor.pickType = [this] { return types.pick(); };
    // These open centred on the register, whichever screen opens them.
    for (QDialog* owned : std::initializer_list<QDialog*>{&operations, &norms, &hoursDialog})
        owned->setParent(&reg, owned->windowFlags());
    reg.attach({&workers, &products, &operations, &types, &groups, &positionEditor, &distribution});
}

} // namespace sdelka
