#include "documents/file_calls.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int TFileCalls::Open(const char* path, int flags, mode_t mode) const {
    return ::open(path, flags, mode);
}

ssize_t TFileCalls::Pwrite(int fd, const void* data, std::size_t size, off_t offset) const {
    return ::pwrite(fd, data, size, offset);
}

ssize_t TFileCalls::Write(int fd, const void* data, std::size_t size) const {
    return ::write(fd, data, size);
}

int TFileCalls::Ftruncate(int fd, off_t length) const {
    return ::ftruncate(fd, length);
}

int TFileCalls::Fchmod(int fd, mode_t mode) const {
    return ::fchmod(fd, mode);
}

int TFileCalls::Fsync(int fd) const {
    return ::fsync(fd);
}

int TFileCalls::Close(int fd) const {
    return ::close(fd);
}

int TFileCalls::Rename(const char* from, const char* to) const {
    return ::rename(from, to);
}

int TFileCalls::Unlink(const char* path) const {
    return ::unlink(path);
}

const TFileCalls& SystemFileCalls() {
    static const TFileCalls calls;
    return calls;
}

std::string SystemErrorText(int error) {
    switch (error) {
    case ENOSPC:
        return "Диск заполнен";
    case EDQUOT:
        return "Превышена дисковая квота";
    case EACCES:
        return "Нет доступа";
    case EPERM:
        return "Операция не разрешена";
    case EROFS:
        return "Диск доступен только для чтения";
    case ENOENT:
        return "Нет такого файла или папки";
    case ENOTDIR:
        return "Часть пути не является папкой";
    case EISDIR:
        return "Это папка";
    case EIO:
        return "Ошибка ввода-вывода";
    case ENAMETOOLONG:
        return "Слишком длинное имя файла";
    case EFBIG:
        return "Файл слишком велик";
    case EMFILE:
        return "Открыто слишком много файлов";
    case ENFILE:
        return "В системе открыто слишком много файлов";
    case ENOMEM:
        return "Недостаточно памяти";
    case EEXIST:
        return "Файл уже существует";
    case EXDEV:
        return "Файл нельзя перенести на другой диск";
    case EBUSY:
        return "Устройство или ресурс заняты";
    case ELOOP:
        return "Слишком много символических ссылок";
    case ENOTSUP:
        return "Операция не поддерживается";
    case ENXIO:
        return "Нет такого устройства или адреса";
    case EPIPE:
        return "Канал закрыт читающей стороной";
    case ETXTBSY:
        return "Файл занят";
    default:
        return "Системная ошибка " + std::to_string(error);
    }
}

std::string WithSystemReason(std::string message, int error) {
    if (error != 0) {
        message += "\n\r" + SystemErrorText(error);
    }
    return message;
}
