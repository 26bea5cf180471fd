"""What the two help-data scripts share: where the help folder is, and a write that leaves an
unchanged file alone (so regenerating never touches its date)."""
import os
import sys


def help_folder():
    """The folder named on the command line, else data/help of the source tree."""
    if len(sys.argv) > 1:
        return sys.argv[1]
    return os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "help")


def write(path, data):
    """Writes only when the content differs."""
    try:
        with open(path, "rb") as f:
            if f.read() == data:
                return
    except FileNotFoundError:
        pass
    with open(path, "wb") as f:
        f.write(data)
