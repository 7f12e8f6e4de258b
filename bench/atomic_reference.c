/* A lean reference for the folder batch: the same job as
 * `velmora-cli KEY FOLDER` on a folder of *.txt files, with the same atomic
 * replace (exclusive temporary file in the folder, fdatasync, rename over
 * the .ser name, one flush of the folder at the end) and nothing else: no
 * link resolution, no same-file check, no reporting beyond a count.
 *
 *   atomic_reference KEY FOLDER
 */
#define _GNU_SOURCE
#include <dirent.h>
#include <fcntl.h>
#include <openssl/evp.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

enum { INPUT_LIMIT = 0x16000 };

static int EncryptOne(int folder, const char* name, const unsigned char* key) {
    static unsigned char plain[INPUT_LIMIT + 16], cipher[INPUT_LIMIT + 16];
    int in = openat(folder, name, O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        return -1;
    }
    ssize_t length = read(in, plain, INPUT_LIMIT);
    close(in);
    if (length < 0 || length >= INPUT_LIMIT) {
        return -1;
    }
    size_t padded = (size_t)length + 16 - (size_t)length % 16;
    memset(plain + length, ' ', padded - (size_t)length);

    static const unsigned char iv[16];
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    int written = 0, last = 0;
    int ok = EVP_EncryptInit_ex(ctx, EVP_aes_128_cbc(), NULL, key, iv) == 1 &&
             EVP_CIPHER_CTX_set_padding(ctx, 0) == 1 &&
             EVP_EncryptUpdate(ctx, cipher, &written, plain, (int)padded) == 1 &&
             EVP_EncryptFinal_ex(ctx, cipher + written, &last) == 1;
    EVP_CIPHER_CTX_free(ctx);
    if (!ok) {
        return -1;
    }

    char output[512], temporary[64];
    size_t nameLength = strlen(name);
    if (nameLength >= sizeof output) {
        return -1;
    }
    memcpy(output, name, nameLength - 4);
    strcpy(output + nameLength - 4, ".ser");
    static unsigned counter;
    snprintf(temporary, sizeof temporary, ".ref-%d-%u.tmp", (int)getpid(), counter++);
    int out = openat(folder, temporary, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (out < 0) {
        return -1;
    }
    ok = write(out, cipher, padded) == (ssize_t)padded && fdatasync(out) == 0;
    ok = close(out) == 0 && ok;
    if (!ok || renameat(folder, temporary, folder, output) != 0) {
        unlinkat(folder, temporary, 0);
        return -1;
    }
    return 0;
}

int main(int argc, char** argv) {
    if (argc != 3 || strlen(argv[1]) != 16) {
        fprintf(stderr, "usage: %s KEY FOLDER\n", argv[0]);
        return 2;
    }
    int folder = open(argv[2], O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = folder < 0 ? NULL : fdopendir(dup(folder));
    if (dir == NULL) {
        perror(argv[2]);
        return 1;
    }
    unsigned done = 0;
    for (struct dirent* entry; (entry = readdir(dir)) != NULL;) {
        size_t length = strlen(entry->d_name);
        if (length > 4 && strcmp(entry->d_name + length - 4, ".txt") == 0 &&
            EncryptOne(folder, entry->d_name, (const unsigned char*)argv[1]) == 0) {
            ++done;
        }
    }
    closedir(dir);
    fsync(folder);
    close(folder);
    printf("%u files\n", done);
    return 0;
}
