// The words of a refused document: the message the open command shows, and on its second line
// what was wrong and where.

#include "documents/document_file.h"
#include "documents/text_file.h"

namespace {

// The reasons that concern a line, without "строка N: " before them.
std::string LineReason(const TDocumentFault& fault) {
    const std::string limit = std::to_string(fault.Limit);
    switch (fault.Reason) {
    case TDocumentReason::LineTooLong:
        return "длиннее " + std::to_string(MaxTextLineLength) + " байт";
    case TDocumentReason::NoSignature:
        return "нет подписи файла";
    case TDocumentReason::FileEnds:
        return "файл обрывается";
    case TDocumentReason::NotANumber:
        return "не число";
    case TDocumentReason::TooManyNumbers:
        return "больше " + limit + " чисел";
    case TDocumentReason::NotAnInteger:
        return "не целое число";
    case TDocumentReason::IntegerTooLarge:
        return "слишком большое число";
    case TDocumentReason::GraphCountBelowZero:
        return "число графиков меньше нуля";
    case TDocumentReason::TooManyGraphs:
        return "число графиков больше " + limit;
    case TDocumentReason::UnknownKind:
        return "неизвестный вид графика";
    case TDocumentReason::EmptyFormula:
        return "пустая формула";
    case TDocumentReason::StepsBelowZero:
        return "число шагов меньше нуля";
    case TDocumentReason::TooManySteps:
        return "число шагов больше " + limit;
    case TDocumentReason::PointCountBelowZero:
        return "число точек меньше нуля";
    case TDocumentReason::UnknownColour:
        return "неизвестный цвет";
    default:
        return {};
    }
}

} // namespace

std::string DocumentFaultText(const TDocumentFault& fault) {
    switch (fault.Reason) {
    case TDocumentReason::None:
        return {};
    case TDocumentReason::NotFound:
        return "файл не найден";
    case TDocumentReason::NotAFile:
        return "это не обычный файл";
    case TDocumentReason::NoAccess:
        return "нет доступа к файлу";
    case TDocumentReason::ReadError:
        return "ошибка чтения файла";
    case TDocumentReason::TooLarge:
        return "файл больше " + std::to_string(MaxTextFileSize / (1024 * 1024)) + " МБ";
    case TDocumentReason::Empty:
        return "файл пуст";
    default:
        break;
    }
    return "строка " + std::to_string(fault.Line) + ": " + LineReason(fault);
}

std::string DocumentReadMessage(TDocumentRead result, const TDocumentFault& fault) {
    if (result == TDocumentRead::Ok) {
        return {};
    }
    // Without a reason the message is the first line alone; "Не удаётся открыть файл!" has always
    // ended in a break.
    const std::string reason = DocumentFaultText(fault);
    if (result == TDocumentRead::WrongSignature) {
        return reason.empty() ? "Неверный формат файла!" : "Неверный формат файла!\n\r" + reason;
    }
    return "Не удаётся открыть файл!\n\r" + reason;
}

std::string DocumentNotFoundMessage(const std::string& path) {
    return "Файл не найден\n\r\"" + path + "\"";
}
