// The two small modal dialogs of the " Bones " page: `window_ed_marca` for a mark's colour and
// visibility, `window_ed_hueso` for a bone's ends and colour.
#pragma once

// boton_hue_editarmarca: opens the mark dialog on the first selected row of clist_hue_marcas.
void edit_mark_clicked();
// boton_hue_editarhuesos: opens the bone dialog on the first selected row of clist_hue_huesos.
void edit_bone_clicked();
