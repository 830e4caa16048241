#include "saver/window/Captions.h"

namespace kv {

const PanelCaptions kInitialCaptions = {
    "เพิ่มไฟล์", "ลบ", "บันทึก", "Close", "ปฏิบัติ", "ปิดเสียง", "เล่นต่อจากที่ผ่านมา"};
const PanelCaptions kThaiCaptions = {
    "เพิ่มไฟล์", "ลบไฟล์", "ตกลง", "ยกเลิก", "ปฏิบัติ", "ปิดเสียง", "เล่นไฟล์ต่อจากที่ผ่านมา"};
const PanelCaptions kEnglishCaptions = {
    "AddFile", "Delete", "OK", "Cancel", "Apply", "Mute wave", "Play Continue"};

}  // namespace kv
