#include "saver/window/Captions.h"

namespace kv {

const PanelCaptions kInitialCaptions = {
    "เพิ่มไฟล์", "ลบ", "บันทึก", "Close", "ปฏิบัติ", "ปิดเสียง", "เล่นต่อจากที่ผ่านมา"};
const PanelCaptions kThaiCaptions = {
    "เพิ่มไฟล์", "ลบไฟล์", "ตกลง", "ยกเลิก", "ปฏิบัติ", "ปิดเสียง", "เล่นไฟล์ต่อจากที่ผ่านมา"};
const PanelCaptions kEnglishCaptions = {
    "AddFile", "Delete", "OK", "Cancel", "Apply", "Mute wave", "Play Continue"};

std::string NoticeText(Notice notice, Language language, const std::string& detail) {
    const bool thai = language == Language::Thai;
    switch (notice) {
    case Notice::None:
        return {};
    case Notice::PlaylistUnreadable:
        // "The file list could not be read; it is kept as it was."
        return thai ? "อ่านรายการไฟล์ไม่ได้ จึงเก็บไว้ตามเดิม" : "The playlist could not be read; it is kept as it is.";
    case Notice::NameNotStorable:
        // "Not added: the file list cannot hold the name ..."
        return (thai ? "ไม่ได้เพิ่ม: รายการไฟล์เก็บชื่อนี้ไม่ได้ " : "Not added: the playlist file cannot hold the name ") +
               detail;
    case Notice::NotSaved:
        // "Not saved: ..."
        return (thai ? "บันทึกไม่สำเร็จ: " : "Not saved: ") + detail;
    }
    return {};
}

}  // namespace kv
